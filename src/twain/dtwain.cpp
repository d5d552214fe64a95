#include "twain/dtwain.h"

void RegisterTwainClasses() {
  RegisterComponentClass("TDTwain", [] { return std::make_unique<TDTwain>(); });
}

void TDTwain::SetProperty(const std::string& name, const TPropValue& v, TReader& reader) {
  if (name == "Info.MajorVersion") {
    Info.MajorVersion = static_cast<int>(reader.Integer(name, v));
  } else if (name == "Info.MinorVersion") {
    Info.MinorVersion = static_cast<int>(reader.Integer(name, v));
  } else if (name == "Info.Language") {
    if (reader.Identifier(name, v) != "tlUserLocale") reader.Fail("Unsupported " + name);
    Info.Language = -1;
  } else if (name == "Info.CountryCode") {
    Info.CountryCode = static_cast<int>(reader.Integer(name, v));
  } else if (name == "Info.Groups") {
    if (v.kind != TPropValue::Kind::Set) reader.Fail("Invalid property value for " + name);
    for (const std::string& g : v.members) {
      if (g == "tgImage") Info.GroupImage = true;
      else if (g == "tgAudio") Info.GroupAudio = true;
      else if (g != "tgControl") reader.Fail("Unknown group " + g);
    }
  } else if (name == "Info.VersionInfo") {
    Info.VersionInfo = reader.String(name, v);
  } else if (name == "Info.Manufacturer") {
    Info.Manufacturer = reader.String(name, v);
  } else if (name == "Info.ProductFamily") {
    Info.ProductFamily = reader.String(name, v);
  } else if (name == "Info.ProductName") {
    Info.ProductName = reader.String(name, v);
  } else if (name == "TransferMode") {
    if (reader.Identifier(name, v) != "ttmNative") reader.Fail("Unsupported " + name);
  } else if (name == "SourceCount") {
    reader.Integer(name, v);  // stored with the form; the count always comes from the manager
  } else if (name == "LibraryLoaded" || name == "SourceManagerLoaded") {
    if (reader.Boolean(name, v)) reader.Fail(name + " = True is not supported at start-up");
  } else {
    TComponent::SetProperty(name, v, reader);
  }
}
