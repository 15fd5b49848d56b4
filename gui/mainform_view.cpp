// The main window as the view of the window rules: each call shows, reads or
// forwards, and decides nothing.
#include <QAction>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include "gui/aboutform.h"
#include "gui/common_dialog.h"
#include "gui/help_open.h"
#include "gui/mainform.h"
#include "gui/message_box.h"

namespace velorin {
namespace {

QString FromUtf8(const std::string& text) { return QString::fromStdString(text); }

QFont ToQFont(const FontSpec& spec) {
  QFont font(FromUtf8(spec.name));
  if (spec.size > 0.0F) font.setPointSizeF(spec.size);
  font.setBold(spec.bold);
  return font;
}

}  // namespace

QWidget* mainform::Control(MainControl control) {
  switch (control) {
    case MainControl::kWindow:
      return this;
    case MainControl::kFrame1:
      return Frame1;
    case MainControl::kFrame_for_POT:
      return Frame_for_POT;
    case MainControl::kText_for_POT:
      return Text_for_POT;
    case MainControl::kCommand_for_POT:
      return Command_for_POT;
    case MainControl::kFrame_for_NVI:
      return Frame_for_NVI;
    case MainControl::kText_for_NVI:
      return Text_for_NVI;
    case MainControl::kCommand_for_NVI:
      return Command_for_NVI;
    case MainControl::kCommand_for_Convert:
      return Command_for_Convert;
    case MainControl::kCommand_for_Quit:
      return Command_for_Quit;
    case MainControl::kFrame_for_While_Execute:
      return Frame_for_While_Execute;
    case MainControl::kLabel_for_While_Execute1:
      return Label_for_While_Execute1;
    case MainControl::kLabel_for_While_Execute2:
      return Label_for_While_Execute2;
    case MainControl::kCommand_for_Cancel:
      return Command_for_Cancel;
  }
  return this;
}

MainControl mainform::ControlOf(QWidget* widget) {
  for (int n = 0; n <= static_cast<int>(MainControl::kCommand_for_Cancel); ++n) {
    const auto control = static_cast<MainControl>(n);
    if (Control(control) == widget) return control;
  }
  return MainControl::kWindow;
}

QMenu* mainform::Menu(MainMenu menu) {
  switch (menu) {
    case MainMenu::kFile:
      return mainform_menu_file;
    case MainMenu::kTool:
      return mainform_menu_tool;
    case MainMenu::kHelp:
      return mainform_menu_help;
    default:
      return nullptr;
  }
}

QAction* mainform::MenuItem(MainMenu menu) {
  switch (menu) {
    case MainMenu::kFileQuit:
      return mainform_menu_file_quit;
    case MainMenu::kFileNviAddr:
      return mainform_menu_file_nvi_addr;
    case MainMenu::kFileNviComm:
      return mainform_menu_file_nvi_comm;
    case MainMenu::kFileNviHpgl:
      return mainform_menu_file_nvi_hpgl;
    case MainMenu::kFileNviMail:
      return mainform_menu_file_nvi_mail;
    case MainMenu::kFileNviSeparator:
      return mainform_menu_file_nvi_separator;
    case MainMenu::kToolOption:
      return mainform_menu_tool_option;
    case MainMenu::kToolOptionInputDatum:
      return mainform_menu_tool_option_input_datum;
    case MainMenu::kToolOptionOutputDatum:
      return mainform_menu_tool_option_output_datum;
    case MainMenu::kToolOptionOsmFuel:
      return mainform_menu_tool_option_osm_fuel;
    case MainMenu::kToolOptionOsmServices:
      return mainform_menu_tool_option_osm_services;
    case MainMenu::kToolOptionOsmHotSpring:
      return mainform_menu_tool_option_osm_hot_spring;
    case MainMenu::kToolOptionOsmParking:
      return mainform_menu_tool_option_osm_parking;
    case MainMenu::kHelpHelp:
      return mainform_menu_help_help;
    case MainMenu::kHelpDummy1:
      return mainform_menu_help_dummy1;
    case MainMenu::kHelpAbout:
      return mainform_menu_help_about;
    default:
      return Menu(menu)->menuAction();
  }
}

CommonDialog* mainform::Dialog(PathKind path) {
  return path == PathKind::kInput ? CommonDialog_for_POT : CommonDialog_for_NVI;
}

void mainform::SetCaption(MainControl control, const std::string& text) {
  QWidget* widget = Control(control);
  if (widget == this) {
    setWindowTitle(FromUtf8(text));
  } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
    frame->setTitle(FromUtf8(text));
  } else if (auto* command = qobject_cast<QPushButton*>(widget)) {
    command->setText(FromUtf8(text));
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(FromUtf8(text));
  }
}

void mainform::SetControlFont(MainControl control, const FontSpec& font) {
  Control(control)->setFont(ToQFont(font));
  // The window's font reaches the menu bar too, which keeps the system's.
  if (control == MainControl::kWindow) KeepSystemFont(menuBar());
}

void mainform::SetVisible(MainControl control, bool visible) {
  Control(control)->setVisible(visible);
}

void mainform::SetEnabled(MainControl control, bool enabled) {
  Control(control)->setEnabled(enabled);
}

void mainform::SetFocus(MainControl control) { Control(control)->setFocus(); }

void mainform::SetDropAccepted(MainControl control, bool accepted) {
  Control(control)->setAcceptDrops(accepted);
}

std::string mainform::PathText(PathKind path) {
  return (path == PathKind::kInput ? Text_for_POT : Text_for_NVI)->text().toStdString();
}

void mainform::SetPathText(PathKind path, const std::string& text) {
  QLineEdit* box = path == PathKind::kInput ? Text_for_POT : Text_for_NVI;
  box->setText(FromUtf8(text));
  box->setCursorPosition(static_cast<int>(box->text().size()));
}

void mainform::SetMenuText(MainMenu menu, const std::string& text, bool separator) {
  if (QMenu* top = Menu(menu)) {
    top->setTitle(FromUtf8(text));
    return;
  }
  // A separator that keeps a text has the style draw that text beside the line.
  QAction* item = MenuItem(menu);
  item->setSeparator(separator);
  item->setText(separator ? QString() : FromUtf8(text));
}

void mainform::SetMenuVisible(MainMenu menu, bool visible) { MenuItem(menu)->setVisible(visible); }

void mainform::SetMenuEnabled(MainMenu menu, bool enabled) { MenuItem(menu)->setEnabled(enabled); }

void mainform::SetMenuChecked(MainMenu menu, bool checked) { MenuItem(menu)->setChecked(checked); }

void mainform::ConfigureFileDialog(PathKind path, const FileDialogSettings& settings) {
  CommonDialog* dialog = Dialog(path);
  dialog->Font = ToQFont(settings.font);
  dialog->DialogTitle = FromUtf8(settings.title);
  dialog->DefaultExt = FromUtf8(settings.defaultExt);
  dialog->Filter = FromUtf8(settings.filter);
}

std::string mainform::DialogFileName(PathKind path) { return Dialog(path)->FileName.toStdString(); }

void mainform::SetDialogFileName(PathKind path, const std::string& name) {
  Dialog(path)->FileName = FromUtf8(name);
}

void mainform::ShowFileDialog(PathKind path) {
  if (path == PathKind::kInput) {
    CommonDialog_for_POT->ShowOpen(this);
  } else {
    CommonDialog_for_NVI->ShowSave(this);
  }
}

MessageAnswer mainform::ShowMessageBox(const std::string& title, const std::string& text,
                                       MessageButtons buttons, MessageAnswer defaultAnswer,
                                       MessageIcon) {
  // The Qt window shows all its boxes without icon.
  return velorin::ShowMessageBox(this, FromUtf8(title), FromUtf8(text), buttons, defaultAnswer);
}

void mainform::ProcessEvents() { QCoreApplication::processEvents(); }

bool mainform::OpenHelpFile(const std::string& path) {
  return velorin::OpenHelpFile(this, Tables(), path).opened;
}

void mainform::ShowAboutBox(const AboutContent&) {
  // The box takes its texts and fonts from the same tables itself.
  aboutform box(this, Tables());
  box.exec();
}

void mainform::RequestClose() { close(); }

}  // namespace velorin
