#include "vcl/classes.h"

namespace {
std::map<std::string, std::function<std::unique_ptr<TComponent>()>>& Registry() {
  static std::map<std::string, std::function<std::unique_ptr<TComponent>()>> registry;
  return registry;
}
}  // namespace

void RegisterComponentClass(const std::string& className,
                            std::function<std::unique_ptr<TComponent>()> factory) {
  Registry()[className] = std::move(factory);
}

std::unique_ptr<TComponent> CreateComponentOfClass(const std::string& className) {
  auto it = Registry().find(className);
  return it == Registry().end() ? nullptr : it->second();
}

void TComponent::SetProperty(const std::string& name, const TPropValue&, TReader& reader) {
  reader.Fail("Property " + name + " does not exist");
}

void TReader::Fail(const std::string& what) const {
  throw EReadError("Error reading " + context_ + ": " + what);
}

TNotifyEvent TReader::Handler(const std::string& property, const TPropValue& value) const {
  const std::string& name = Identifier(property, value);
  const TPublishedTable::Method* method = table_.FindMethod(name);
  if (!method) Fail("Method " + name + " not found (" + property + ")");
  TForm* form = &root_;
  TPublishedTable::Method bound = *method;
  return [form, bound](TObject* sender) { bound(*form, sender); };
}

int64_t TReader::Integer(const std::string& property, const TPropValue& v) const {
  if (v.kind != TPropValue::Kind::Integer) Fail("Invalid property value for " + property);
  return v.integer;
}

bool TReader::Boolean(const std::string& property, const TPropValue& v) const {
  if (v.kind == TPropValue::Kind::Identifier) {
    if (v.text == "True") return true;
    if (v.text == "False") return false;
  }
  Fail("Invalid property value for " + property);
}

const std::string& TReader::String(const std::string& property, const TPropValue& v) const {
  if (v.kind != TPropValue::Kind::String) Fail("Invalid property value for " + property);
  return v.text;
}

const std::string& TReader::Identifier(const std::string& property, const TPropValue& v) const {
  if (v.kind != TPropValue::Kind::Identifier) Fail("Invalid property value for " + property);
  return v.text;
}
