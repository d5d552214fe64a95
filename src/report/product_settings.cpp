// Product settings: the Pagorin and Folvane registry values, each block a
// table of labels and value names read line by line.
#include <iterator>

#include "mainwindow/Unit1.h"
#include "report/sections.h"
#include "vcl/registry.h"
#include "vcl/sysutils.h"

namespace {
// One text value of one key; every failure gives empty text. Each call opens
// the key anew (creating it when missing) and closes it again.
std::string ReadValue(HKEY root, const char* path, const std::string& name) {
  std::string result;
  try {
    TRegistry registry;
    registry.SetRootKey(root);
    registry.OpenKey(path, true);  // a key that cannot be opened leaves none open: no value
    result = Trim(registry.ReadString(name));
    registry.CloseKey();
  } catch (...) {
    result.clear();
  }
  return result;
}

using Reader = std::string (*)(const std::string&);

// A line of a block: the label, then the value read through the block's
// machine-wide or per-user reader. The first line of a block joins a second
// value after a blank.
struct SettingsLine {
  const char* label;
  const char* name;
  bool machineWide;
  const char* secondName;
};

struct SettingsBlock {
  Reader info;
  Reader setting;
  const SettingsLine* lines;
  size_t count;
};

const SettingsLine kPagorinLines[] = {
    {"PGRN V", "version", true, "Mode"},
    {"DIR ", "directory", true, nullptr},
    {"", "serial", true, nullptr},
    {"Last Src > ", "cscanner", false, nullptr},
    {"Dialog(rev) > ", "hidden", false, nullptr},
    {"Auto TRX > ", "autotrx", false, nullptr},
    {"Buffered(VST) > ", "vstwain", false, nullptr},
    {"Twain 1.7(+Buff=EN) > ", "twain17", false, nullptr},
    {"Native WIA > ", "nativewia", false, nullptr},
    {"File Trans > ", "filetran", false, nullptr},
    {"Default Save > ", "defsave", false, nullptr},
    {"Save Location > ", "saveloc", false, nullptr},
    {"Negative > ", "negative", false, nullptr},
    {"Crop Legal > ", "convpaper", false, nullptr},
    {"Col to GS > ", "convcolor", false, nullptr},
    {"Compression > ", "jpgc", false, nullptr},
    {"DPI > ", "dpi", false, nullptr},
    {"Color > ", "color", false, nullptr},
    {"Paper size > ", "paper", false, nullptr},
    {"CustomX > ", "customx", false, nullptr},
    {"CustomY > ", "customy", false, nullptr},
    {"ADF > ", "adf", false, nullptr},
    {"Duplex > ", "duplex", false, nullptr},
    {"Xoffset > ", "xoffset", false, nullptr},
    {"Exposure > ", "exposure", false, nullptr},
    {"Frames > ", "frames", false, nullptr},
    {"Cleanup > ", "cleanup", false, nullptr},
    {"Variable > ", "variable", false, nullptr},
    {"PDF DPI > ", "pdfdpi", false, nullptr},
    {"Last error > ", "lasterror", false, nullptr},
};
static_assert(std::size(kPagorinLines) == 30, "the Pagorin block has 30 lines");

const SettingsLine kFolvaneLines[] = {
    {"FLVN V", "version", true, "Mode"},
    {"DIR ", "directory", true, nullptr},
    {"", "serial", true, nullptr},
    {"Last Src> > ", "cscanner", false, nullptr},
    {"Use Dialog > ", "dialog", false, nullptr},
    {"Auto TRX > ", "autotrx", false, nullptr},
    {"Twain1.8 > ", "twain17", false, nullptr},
    {"Native WIA > ", "nativewia", false, nullptr},
    {"WIA Connected > ", "wiaconnected", false, nullptr},
    {"ADF > ", "adf", false, nullptr},
    {"Color > ", "color", false, nullptr},
    {"Conv GS > ", "convcolor", false, nullptr},
    {"Crop Legal > ", "convletter", false, nullptr},
    {"Def Save > ", "defsave", false, nullptr},
    {"Path > ", "folderpath", false, nullptr},
    {"Exposure > ", "density", false, nullptr},
    {"DPI > ", "dpi", false, nullptr},
    {"Rej > ", "rej", false, nullptr},
    {"Extended Save Dialog > ", "edialog", false, nullptr},
    {"Compression > ", "jpg", false, nullptr},
    {"Keep Twain Conn Open > ", "keepopen", false, nullptr},
    {"Negative > ", "negative", false, nullptr},
    {"PDF Page Size > ", "papersize", false, nullptr},
    {"Last error > ", "lasterror", false, nullptr},
};
static_assert(std::size(kFolvaneLines) == 24, "the Folvane block has 24 lines");

// Reads and appends the lines in table order; in the first line the first
// value is read before the second.
void AppendBlock(TForm1& form, const SettingsBlock& block) {
  for (size_t i = 0; i < block.count; ++i) {
    const SettingsLine& line = block.lines[i];
    Reader read = line.machineWide ? block.info : block.setting;
    std::string text = line.label + read(line.name);
    if (line.secondName) text += " " + read(line.secondName);
    form.aln(text);
  }
}
}  // namespace

std::string ReadPagorinInfo(const std::string& Name) {
  return ReadValue(HKEY_LOCAL_MACHINE, "Software\\Quibrel Software\\Pagorin", Name);
}
std::string ReadPagorinSetting(const std::string& Name) {
  return ReadValue(HKEY_CURRENT_USER, "Software\\Quibrel\\pagorin2\\settings", Name);
}
std::string ReadFolvaneInfo(const std::string& Name) {
  return ReadValue(HKEY_LOCAL_MACHINE, "Software\\Quibrel Software\\Folvane", Name);
}
std::string ReadFolvaneSetting(const std::string& Name) {
  return ReadValue(HKEY_CURRENT_USER, "Software\\Quibrel\\folvane\\settings", Name);
}

void AppendPagorinSettings(TForm1& form) {
  AppendBlock(form, {ReadPagorinInfo, ReadPagorinSetting, kPagorinLines, std::size(kPagorinLines)});
}
void AppendFolvaneSettings(TForm1& form) {
  AppendBlock(form, {ReadFolvaneInfo, ReadFolvaneSetting, kFolvaneLines, std::size(kFolvaneLines)});
}
