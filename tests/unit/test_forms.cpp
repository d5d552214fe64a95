#include <gtest/gtest.h>

#include "vcl/form_description.h"
#include "vcl/forms.h"
#include "vcl/stdctrls.h"

TEST(Title, FileNameUpToFirstFullStopRestLowerCase) {
  const struct {
    const char* path;
    const char* title;
  } cases[] = {
      {"C:\\Program Files\\Quibrel\\Project1.exe", "Project1"},
      {"C:\\TOOLS\\PROJECT1.EXE", "Project1"},
      {"C:\\x\\quibrel.report.tool.exe", "quibrel"},
      {"D:Report", "Report"},
      {"C:\\x\\A.EXE", "A"},
      {"C:\\x\\.hidden.exe", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(TitleFromModuleFileName(c.path), c.title) << c.path;
}

TEST(FullStop, AddedWhenTheLastCharacterComesAfterTheFullStop) {
  const struct {
    const char* message;
    const char* shown;
  } cases[] = {
      {"Access denied", "Access denied."},
      {"Done.", "Done."},
      {"Really?", "Really?."},  // '?' comes after '.'
      {"List:", "List:."},
      {"Value 5", "Value 5."},
      {"Wait!", "Wait!"},  // '!' comes before '.'
      {"(x)", "(x)"},
      {"a-", "a-"},
      {"", ""},
      {"Caf\xE9", "Caf\xE9."},  // a character beyond ASCII counts as unsigned
  };
  for (const auto& c : cases) EXPECT_EQ(AddFullStop(c.message), c.shown) << c.message;
}

TEST(FormDescription, ReadsObjectsPropertiesAndValues) {
  TFormObject f = ParseFormDescription(
      "object Form1: TForm1\n"
      "  Left = -12\n"
      "  Caption = 'It''s '#39'x'#13#10 +\n"
      "    'more'\n"
      "  Hint =\n    'on the next line'\n"
      "  Font.Style = [fsBold, fsItalic]\n"
      "  Empty = []\n"
      "  Color = clBtnFace\n"
      "  object Button1: TButton\n"
      "    OnClick = Button1Click\n"
      "  end\n"
      "end\n");
  EXPECT_EQ(f.name, "Form1");
  EXPECT_EQ(f.className, "TForm1");
  ASSERT_EQ(f.properties.size(), 6u);
  EXPECT_EQ(f.properties[0].second.integer, -12);
  EXPECT_EQ(f.properties[1].second.text, "It's 'x\r\nmore");
  EXPECT_EQ(f.properties[2].second.text, "on the next line");
  EXPECT_EQ(f.properties[3].second.members, (std::vector<std::string>{"fsBold", "fsItalic"}));
  EXPECT_TRUE(f.properties[4].second.members.empty());
  EXPECT_EQ(f.properties[5].second.kind, TPropValue::Kind::Identifier);
  ASSERT_EQ(f.children.size(), 1u);
  EXPECT_EQ(f.children[0].properties[0].second.text, "Button1Click");
}

TEST(FormDescription, SyntaxFaultsNameTheLine) {
  const struct {
    const char* text;
    const char* fragment;
  } cases[] = {
      {"object Form1: TForm1\n  Left = \nend\n", "line 2: a value was expected"},
      {"object Form1 TForm1\nend\n", "line 1"},
      {"object Form1: TForm1\n  Caption = 'open\nend\n", "unterminated"},
      {"object Form1: TForm1\n  Left = 1\n", "line 3"},
      {"object Form1: TForm1\nend\nobject", "after the last"},
  };
  for (const auto& c : cases) {
    try {
      ParseFormDescription(c.text);
      ADD_FAILURE() << "no failure for: " << c.text;
    } catch (const EReadError& e) {
      EXPECT_NE(e.Message().find(c.fragment), std::string::npos) << e.Message();
    }
  }
}

namespace {
class TTestForm : public TForm {
 public:
  TButton* Button1 = nullptr;
  int clicks = 0;
  void Button1Click(TObject*) { ++clicks; }
  static const TPublishedTable& Published() {
    static const TPublishedTable table = TPublishedTable()
                                             .Field("Button1", &TTestForm::Button1)
                                             .Handler("Button1Click", &TTestForm::Button1Click);
    return table;
  }
};

std::string LoadFailure(const std::string& body) {
  TApplication app;
  app.Initialize();
  TTestForm form;
  try {
    form.Load(
        ParseFormDescription("object Form1: TTestForm\n  ClientWidth = 100\n  ClientHeight = 50\n" +
                             body + "end\n"),
        TTestForm::Published());
  } catch (const EReadError& e) {
    return e.Message();
  }
  return "";
}
}  // namespace

TEST(FormDescription, UnknownPropertyClassOrHandlerIsAClearFailure) {
  const struct {
    const char* body;
    const char* message;
  } cases[] = {
      {"  Colour = clRed\n", "Error reading Form1: Property Colour does not exist"},
      {"  object Button1: TButton\n    Hint = 'x'\n  end\n",
       "Error reading Button1: Property Hint does not exist"},
      {"  object Button1: TButtonX\n  end\n", "Error reading Button1: Class TButtonX not found"},
      {"  object Button1: TButton\n    OnClick = Button1Clik\n  end\n",
       "Error reading Button1: Method Button1Clik not found (OnClick)"},
      {"  object Button1: TLabel\n  end\n", "Field Button1 has a different class"},
      {"  object Button1: TButton\n    Left = 'ten'\n  end\n",
       "Error reading Button1: Invalid property value for Left"},
  };
  for (const auto& c : cases) EXPECT_EQ(LoadFailure(c.body), c.message) << c.body;
}

TEST(FormDescription, BindsFieldsAndHandlers) {
  TApplication app;
  app.Initialize();
  TTestForm form;
  form.Load(
      ParseFormDescription("object Form1: TTestForm\n  ClientWidth = 100\n  ClientHeight = 50\n"
                           "  object Button1: TButton\n    Caption = 'Go'\n"
                           "    OnClick = Button1Click\n  end\nend\n"),
      TTestForm::Published());
  ASSERT_NE(form.Button1, nullptr);
  EXPECT_EQ(form.Button1->Caption(), "Go");
  form.Button1->Click();
  EXPECT_EQ(form.clicks, 1);
}
