// Feeds arbitrary text to the macro file reader: it must refuse it with an
// error or read it, and what it reads must write and read back unchanged,
// also when written back into the text it was read from.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/core/macro_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  Krv_DbMacro macro;
  MacroData record;
  std::string error;
  if (!krv::base::reportTo(krv::core::parseMacroText(text, macro, record), error)) {
    if (error.empty()) std::abort();
    return 0;
  }
  const std::string written = krv::core::macroToText(macro, record);
  Krv_DbMacro back;
  MacroData backRecord;
  if (!krv::base::reportTo(krv::core::parseMacroText(written, back, backRecord), error) ||
      krv::core::macroToText(back, backRecord) != written)
    std::abort();
  // Written back into the text it came from, it reads as the same macro.
  const std::string patched = krv::core::macroToText(macro, record, text);
  if (!krv::base::reportTo(krv::core::parseMacroText(patched, back, backRecord), error) ||
      krv::core::macroToText(back, backRecord) != written)
    std::abort();
  return 0;
}
