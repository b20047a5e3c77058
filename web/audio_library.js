// The web edition's sound output (platform/mixer_web.cpp's other half): the track plays from an
// AudioBuffer through the page's Web Audio graph, and the position the listener hears is read
// from the AudioContext's own clock, not from the page's frames.
//
// The page sets Module.orvoAudio before main runs: { context, output, decoded, usable }, where
// output is the GainNode all sound goes through, decoded the files it decoded while loading
// ([{ bytes: Uint8Array, buffer: AudioBuffer }]), and usable false once the context cannot run.
// Opening the output gives it heardSeconds(), the track's heard second (-1 with no track playing).
mergeInto(LibraryManager.library, {
  $orvoSound: {
    // The samples handed out, by id (0 is no sample).
    buffers: [null],
    // The tracked playback: its source node, the context time it started at, the track second it
    // started from, and where it stood when paused.
    track: null,

    audio: function() {
      var audio = Module['orvoAudio'];
      return audio && audio.context && audio.output ? audio : null;
    },

    // The context's delay from a sample's start to the listener: what was played but not yet heard.
    outputLatency: function(context) {
      return context.outputLatency || context.baseLatency || 0;
    },

    startSource: function(track, offsetSeconds) {
      var audio = orvoSound.audio();
      var source = audio.context.createBufferSource();
      source.buffer = track.buffer;
      source.connect(audio.output);
      source.onended = function() {
        if (track.source === source) {
          track.ended = true;
        }
      };
      track.source = source;
      track.startedAt = audio.context.currentTime;
      track.fromSeconds = offsetSeconds;
      source.start(0, offsetSeconds);
    },

    stopSource: function(track) {
      var source = track.source;
      track.source = null;
      if (source) {
        source.onended = null;
        source.stop();
        source.disconnect();
      }
    },

    // Track seconds the listener hears now; -1 when no track plays or the context cannot run (the
    // presentation then keeps its own time). A context waiting for the user's click stands still,
    // and so does the heard position.
    heardSeconds: function() {
      var track = orvoSound.track;
      var audio = orvoSound.audio();
      if (!track || track.ended || !audio || audio.usable === false) {
        return -1;
      }
      if (track.pausedAt >= 0) {
        return track.pausedAt;
      }
      var heard = orvoSound.playedSeconds(track) - orvoSound.outputLatency(audio.context);
      if (heard >= track.buffer.duration) {
        return -1;
      }
      return Math.max(track.fromSeconds, heard);
    },

    // Track seconds played out so far, before the output's delay.
    playedSeconds: function(track) {
      var context = orvoSound.audio().context;
      return track.fromSeconds + Math.max(0, context.currentTime - track.startedAt);
    },
  },

  orvo_audio_available__deps: ['$orvoSound'],
  orvo_audio_available: function() {
    var audio = orvoSound.audio();
    if (audio === null || audio.usable === false) {
      return 0;
    }
    // The page reads the heard position too (window.orvo.audioTime).
    audio.heardSeconds = orvoSound.heardSeconds;
    return 1;
  },

  // The id of the sample the page decoded from exactly these bytes; 0 when it decoded none.
  orvo_audio_find_sample__deps: ['$orvoSound'],
  orvo_audio_find_sample: function(bytes, sizeBytes) {
    var audio = orvoSound.audio();
    if (!audio) {
      return 0;
    }
    var wanted = HEAPU8.subarray(bytes, bytes + sizeBytes);
    var decoded = audio.decoded || [];
    for (var i = 0; i < decoded.length; ++i) {
      var candidate = decoded[i].bytes;
      if (candidate.length !== sizeBytes) {
        continue;
      }
      var same = true;
      for (var at = 0; at < sizeBytes && same; ++at) {
        same = candidate[at] === wanted[at];
      }
      if (same) {
        orvoSound.buffers.push(decoded[i].buffer);
        return orvoSound.buffers.length - 1;
      }
    }
    return 0;
  },

  orvo_audio_release_sample__deps: ['$orvoSound'],
  orvo_audio_release_sample: function(id) {
    orvoSound.buffers[id] = null;
  },

  orvo_audio_sample_frames__deps: ['$orvoSound'],
  orvo_audio_sample_frames: function(id) {
    return orvoSound.buffers[id].length;
  },

  orvo_audio_sample_rate__deps: ['$orvoSound'],
  orvo_audio_sample_rate: function(id) {
    return orvoSound.buffers[id].sampleRate;
  },

  orvo_audio_play_sample__deps: ['$orvoSound'],
  orvo_audio_play_sample: function(id, loop) {
    var audio = orvoSound.audio();
    var source = audio.context.createBufferSource();
    source.buffer = orvoSound.buffers[id];
    source.loop = loop !== 0;
    source.connect(audio.output);
    source.start();
  },

  orvo_audio_play_tracked__deps: ['$orvoSound'],
  orvo_audio_play_tracked: function(id, startFrame) {
    if (orvoSound.track) {
      orvoSound.stopSource(orvoSound.track);
    }
    var buffer = orvoSound.buffers[id];
    var track = { buffer: buffer, source: null, startedAt: 0, fromSeconds: 0, pausedAt: -1, ended: false };
    orvoSound.track = track;
    orvoSound.startSource(track, startFrame / buffer.sampleRate);
  },

  // A pause stops the source where it has played to; going on starts a new one from there.
  orvo_audio_pause_tracked__deps: ['$orvoSound'],
  orvo_audio_pause_tracked: function(paused) {
    var track = orvoSound.track;
    if (!track || track.ended || (track.pausedAt >= 0) === (paused !== 0)) {
      return;
    }
    if (paused) {
      track.pausedAt = orvoSound.playedSeconds(track);
      orvoSound.stopSource(track);
    } else {
      var from = track.pausedAt;
      track.pausedAt = -1;
      orvoSound.startSource(track, from);
    }
  },

  orvo_audio_stop_tracked__deps: ['$orvoSound'],
  orvo_audio_stop_tracked: function() {
    if (orvoSound.track) {
      orvoSound.stopSource(orvoSound.track);
      orvoSound.track = null;
    }
  },

  orvo_audio_tracked_position__deps: ['$orvoSound'],
  orvo_audio_tracked_position: function() {
    return orvoSound.heardSeconds();
  },
});
