#pragma once
// The TWAIN component: the application's identity towards the TWAIN data
// source manager, and the operations that load it and list its sources.
#include <string>

#include "vcl/classes.h"

class TDTwain : public TComponent {
 public:
  struct TInfo {
    int MajorVersion = 0, MinorVersion = 0;
    int Language = 0, CountryCode = 0;
    bool GroupImage = false, GroupAudio = false;
    std::string VersionInfo, Manufacturer, ProductFamily, ProductName;
  } Info;

  void SetProperty(const std::string& name, const TPropValue& value, TReader& reader) override;
};

// Registers TDTwain for form descriptions.
void RegisterTwainClasses();
