# The drawing surfaces' width chosen during live play at 1920 x 1080 on llvmpipe, and the frame
# time, against presentation time, for RUN 0 (0-20 s) and 110 (110-125 s), after and before:
#   sizes-RUN.dat:  presentation-seconds  surface-width: the start, each "Surfaces: W x H at T s"
#                   line of debug.txt, the end (a step plot); sizes-before-RUN.dat: 1229 throughout
#   frames-RUN.dat: presentation-seconds  frame-milliseconds, from the times at which each frame
#                   was handed to the display (timed outside the program, around SDL_GL_SwapWindow)
# gnuplot -e "dir='DIR'" docs/surface-sizes.gp writes dir/surface-sizes.png
if (!exists("dir")) dir = "."
set terminal pngcairo size 1000,640 font ",10"
set output dir."/surface-sizes.png"
set multiplot layout 2,2 title "Live --desktop at 1920 x 1080, llvmpipe on 2 cores at load 4-9: surfaces and frame time"
set grid
set key top right
do for [run in "0 110"] {
  set title (run eq "0" ? "landscape, 0-20 s" : "title part, 110-125 s")
  set xlabel "presentation time (s)"
  set ylabel "surface width (px)"
  set yrange [0:1300]
  plot dir."/sizes-".run.".dat" using 1:2 with steps lw 2 title "chosen width", \
       dir."/sizes-before-".run.".dat" using 1:2 with steps dt 2 lw 1 title "before (fixed)"
  set ylabel "frame time (ms)"
  set yrange [0:*]
  plot dir."/frames-".run.".dat" using 1:2 with lines lw 1 title "after", \
       dir."/frames-before-".run.".dat" using 1:2 with lines lw 1 dt 2 title "before", \
       33.3 with lines lt 0 title "30 fps"
}
unset multiplot
