#include "fuzz/fuzz_entries.h"

#include "platform/message_box.h"
#include "world/model.h"
#include "world/model_3ds_reader.h"
#include "world/model_cache.h"

int fuzzModel3ds(const uint8_t* data, size_t sizeBytes) {
  // Boxes about foreign files are answered at once instead of waiting for a user.
  if (!platform::scriptedMode()) {
    platform::setScriptedAnswers({});
  }
  ImportedModel imported;
  if (!Model3dsReader().importBytes(imported, data, sizeBytes, "fuzzed.3ds")) {
    return 0;
  }
  Model model;
  convertImportedModel(imported, model);
  return 0;
}
