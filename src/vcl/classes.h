#pragma once
// Base classes of the class library: objects, components that a form
// description creates and sets up, and the published table through which a
// form class names its component fields and event handlers.
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "vcl/exceptions.h"
#include "vcl/form_description.h"

class TObject {
 public:
  virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

class TForm;
class TComponent;

// What a form class publishes: its component fields and its event handlers,
// looked up by name while the form description is read.
class TPublishedTable {
 public:
  using FieldSetter = std::function<void(TForm& form, TComponent* component)>;
  using Method = std::function<void(TForm& form, TObject* sender)>;

  template <typename Form, typename Class>
  TPublishedTable& Field(const std::string& name, Class* Form::*member);
  template <typename Form>
  TPublishedTable& Handler(const std::string& name, void (Form::*method)(TObject*)) {
    methods_[name] = [method](TForm& form, TObject* sender) {
      (static_cast<Form&>(form).*method)(sender);
    };
    return *this;
  }

  const FieldSetter* FindField(const std::string& name) const {
    auto it = fields_.find(name);
    return it == fields_.end() ? nullptr : &it->second;
  }
  const Method* FindMethod(const std::string& name) const {
    auto it = methods_.find(name);
    return it == methods_.end() ? nullptr : &it->second;
  }

 private:
  std::map<std::string, FieldSetter> fields_;
  std::map<std::string, Method> methods_;
};

// The state of one reading of a form description.
class TReader {
 public:
  TReader(TForm& root, const TPublishedTable& table) : root_(root), table_(table) {}
  // The handler of that name bound to the form; EReadError when there is none.
  TNotifyEvent Handler(const std::string& property, const TPropValue& value) const;
  [[noreturn]] void Fail(const std::string& what) const;
  void SetContext(std::string componentName) { context_ = std::move(componentName); }

  TForm& Root() const { return root_; }
  const TPublishedTable& Table() const { return table_; }

  // Helpers for property values of the expected kind.
  int64_t Integer(const std::string& property, const TPropValue& v) const;
  bool Boolean(const std::string& property, const TPropValue& v) const;
  const std::string& String(const std::string& property, const TPropValue& v) const;
  const std::string& Identifier(const std::string& property, const TPropValue& v) const;

 private:
  TForm& root_;
  const TPublishedTable& table_;
  std::string context_;
};

class TComponent : public TObject {
 public:
  std::string Name;
  // Sets one property read from the form description. Classes override it for
  // their own properties and call on to their base for the rest; the base
  // refuses every name.
  virtual void SetProperty(const std::string& name, const TPropValue& value, TReader& reader);
  // Called once all properties of the component have been read.
  virtual void Loaded() {}
};

// Creates a component of a registered class by name; nullptr when unknown.
std::unique_ptr<TComponent> CreateComponentOfClass(const std::string& className);
void RegisterComponentClass(const std::string& className,
                            std::function<std::unique_ptr<TComponent>()> factory);

template <typename Form, typename Class>
TPublishedTable& TPublishedTable::Field(const std::string& name, Class* Form::*member) {
  fields_[name] = [name, member](TForm& form, TComponent* component) {
    auto* typed = dynamic_cast<Class*>(component);
    if (!typed) throw EReadError("Field " + name + " has a different class");
    static_cast<Form&>(form).*member = typed;
  };
  return *this;
}
