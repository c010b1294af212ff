#include "gui/qt/QtWindowSystem.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>

#include "desktop/FileDialogFilter.h"

namespace brelvion::gui::qt {

namespace {

// A help text's window: wide enough for a plain text file's lines.
constexpr int kTextWindowWidth = 640;
constexpr int kTextWindowHeight = 480;

QString fromPath(const std::string& path) { return QFile::decodeName(path.c_str()); }
std::string toPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QMessageBox::Icon qtIcon(desktop::MessageIcon icon) {
  switch (icon) {
    case desktop::MessageIcon::Critical:
      return QMessageBox::Critical;
    case desktop::MessageIcon::Question:
      return QMessageBox::Question;
    case desktop::MessageIcon::Exclamation:
      return QMessageBox::Warning;
    case desktop::MessageIcon::Information:
      return QMessageBox::Information;
    case desktop::MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

// Boxes and dialogs belong to the window the user is working in.
QWidget* dialogParent() {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return QApplication::activeWindow();
}

QStringList nameFilters(const std::string& filter) {
  QStringList filters;
  for (const desktop::FileTypeFilter& entry : desktop::parseFileDialogFilter(filter)) {
    filters << QString::fromStdString(desktop::nameFilterText(entry));
  }
  return filters;
}

// The program's full path: a bare name is looked for on the PATH, as a shell would.
QString executablePath(const std::string& program) {
  const QString name = fromPath(program);
  if (name.contains('/')) return QFileInfo(name).isExecutable() ? name : QString();
  return QStandardPaths::findExecutable(name);
}

}  // namespace

desktop::MessageAnswer QtWindowSystem::messageBox(const desktop::MessageBoxRequest& request) {
  const QString title = QString::fromStdString(
      request.title.empty() ? std::string(kApplicationDisplayName) : request.title);
  QString text = QString::fromStdString(request.text);
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  const bool question = request.buttons == desktop::MessageButtons::YesNo;
  QMessageBox box(qtIcon(request.icon), title, text,
                  question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, dialogParent());
  box.setTextFormat(Qt::PlainText);
  if (question) {
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
  }
  const int answer = box.exec();
  if (!question) return desktop::MessageAnswer::Ok;
  return answer == QMessageBox::Yes ? desktop::MessageAnswer::Yes : desktop::MessageAnswer::No;
}

void QtWindowSystem::processPendingEvents() { QCoreApplication::processEvents(); }

void QtWindowSystem::beep() { QApplication::beep(); }

std::string QtWindowSystem::fileDialog(const desktop::FileDialogRequest& request) {
  const bool save = request.mode == desktop::FileDialogMode::Save;
  QFileDialog dialog(dialogParent(), QString::fromStdString(request.title));
  // Qt's own dialog matches the type patterns without regard to case, so "*.WSP" also
  // lists "trace.wsp"; it also asks before a Save replaces an existing file.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  const QStringList filters = nameFilters(request.filter);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.front());
  }
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList chosen = dialog.selectedFiles();
  return chosen.isEmpty() ? std::string() : toPath(chosen.front());
}

std::string QtWindowSystem::startProgram(const std::string& program,
                                         const std::vector<std::string>& arguments) {
  const QString path = executablePath(program);
  if (path.isEmpty()) return "Cannot start " + program + ": program not found";
  QStringList list;
  for (const std::string& argument : arguments) list << fromPath(argument);
  QProcess process;
  process.setProgram(path);
  process.setArguments(list);
  if (!process.startDetached()) {
    return "Cannot start " + program + ": " + process.errorString().toStdString();
  }
  return {};
}

std::string QtWindowSystem::startTextEditor(const std::string& file) {
  const std::optional<desktop::EditorCommand> command =
      editorLookup_ ? editorLookup_(file) : std::nullopt;
  if (!command) return "No text editor was found to open " + (file.empty() ? "a file" : file);
  return startProgram(command->program, command->arguments);
}

bool QtWindowSystem::hasTextEditor() { return editorLookup_ && editorLookup_("").has_value(); }

std::string QtWindowSystem::showTextFile(const std::string& path) {
  QFile file(fromPath(path));
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
    return "Cannot read " + path + ": " + file.errorString().toStdString();
  }
  // A window of its own, gone with the window it was asked from.
  auto* view = new QPlainTextEdit(dialogParent());
  view->setWindowFlag(Qt::Window);
  view->setAttribute(Qt::WA_DeleteOnClose);
  view->setObjectName(QStringLiteral("helpText"));
  view->setWindowTitle(QFileInfo(file.fileName()).fileName());
  view->setReadOnly(true);
  view->setPlainText(QString::fromUtf8(file.readAll()));
  view->resize(kTextWindowWidth, kTextWindowHeight);
  view->show();
  return {};
}

std::string QtWindowSystem::openDocument(const std::string& path) {
  const QString name = fromPath(path);
  if (!QFileInfo(name).isFile()) return "File not found: " + path;
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(name).absoluteFilePath()))) {
    return "No program was found to show " + path;
  }
  return {};
}

desktop::ScreenSize QtWindowSystem::screenSize() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return {};
  return {screen->size().width(), screen->size().height()};
}

}  // namespace brelvion::gui::qt
