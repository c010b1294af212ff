#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "gui/qt/QtWindowSystem.h"

namespace brelvion::gui::qt {

namespace {

// Runs inspect on the next modal dialog of type Dialog as soon as it is open.
template <typename Dialog>
void whenOpen(std::function<void(Dialog*)> inspect) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, [poll, inspect] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    poll->stop();
    poll->deleteLater();
    const QPointer<QDialog> open(dialog);
    inspect(dialog);
    // A check that failed half-way must not leave the test waiting on the dialog.
    if (open && open->isVisible()) open->reject();
  });
  poll->start(10);
}

std::optional<desktop::EditorCommand> touchAsEditor(const std::string& file) {
  return desktop::EditorCommand{"touch", {file}, {}};
}
std::optional<desktop::EditorCommand> noEditor(const std::string&) { return std::nullopt; }

}  // namespace

class QtWindowSystemTest : public QObject {
  Q_OBJECT

 private slots:
  void boxesCarryIconTitleAndButtons() {
    QtWindowSystem windows;
    struct Case {
      desktop::MessageIcon icon;
      QMessageBox::Icon shown;
    };
    for (const Case& c : {Case{desktop::MessageIcon::Critical, QMessageBox::Critical},
                          Case{desktop::MessageIcon::Exclamation, QMessageBox::Warning},
                          Case{desktop::MessageIcon::Information, QMessageBox::Information},
                          Case{desktop::MessageIcon::Question, QMessageBox::Question},
                          Case{desktop::MessageIcon::None, QMessageBox::NoIcon}}) {
      QMessageBox::Icon icon{};
      QString title, text;
      whenOpen<QMessageBox>([&](QMessageBox* box) {
        icon = box->icon();
        title = box->windowTitle();
        text = box->text();
        QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
        box->button(QMessageBox::Ok)->click();
      });
      const desktop::MessageAnswer answer = windows.messageBox(
          {"Error trapped\r\n<b>Wisp ERR002</b>", "", c.icon, desktop::MessageButtons::Ok});
      QVERIFY(answer == desktop::MessageAnswer::Ok);
      QCOMPARE(icon, c.shown);
      QCOMPARE(title, QString("Brelvion I2C Debug Tool"));
      QCOMPARE(text, QString("Error trapped\n<b>Wisp ERR002</b>"));
    }
  }

  void questionsAnswerYesOrNo() {
    QtWindowSystem windows;
    for (const bool yes : {true, false}) {
      whenOpen<QMessageBox>([yes](QMessageBox* box) {
        QCOMPARE(box->windowTitle(), QString("Count"));
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::Yes));
        box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
      });
      const desktop::MessageAnswer answer = windows.messageBox(
          {"Count is 0?", "Count", desktop::MessageIcon::Question, desktop::MessageButtons::YesNo});
      QVERIFY(answer == (yes ? desktop::MessageAnswer::Yes : desktop::MessageAnswer::No));
    }
  }

  void saveDialogOffersTheFiltersAndCancelGivesNothing() {
    QtWindowSystem windows;
    QStringList filters;
    QString selected, title;
    bool confirms = false;
    whenOpen<QFileDialog>([&](QFileDialog* dialog) {
      filters = dialog->nameFilters();
      selected = dialog->selectedNameFilter();
      title = dialog->windowTitle();
      confirms = dialog->acceptMode() == QFileDialog::AcceptSave &&
                 !dialog->testOption(QFileDialog::DontConfirmOverwrite);
      dialog->reject();
    });
    const std::string path = windows.fileDialog(
        {desktop::FileDialogMode::Save,
         "Save Wisp Debugwindow to:", "Wisp files (*.WSP)|*.WSP|Text (*.TXT)|*.TXT"});
    QCOMPARE(path, std::string());
    QCOMPARE(filters, QStringList({"Wisp files (*.WSP)", "Text (*.TXT)"}));
    QCOMPARE(selected, filters.front());
    QCOMPARE(title, QString("Save Wisp Debugwindow to:"));
    QVERIFY(confirms);
  }

  void openDialogListsPatternsWhateverTheirCase() {
    QTemporaryDir dir;
    for (const char* name : {"lower.wsp", "upper.WSP", "other.txt"}) {
      QFile file(dir.filePath(name));
      QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QtWindowSystem windows;
    QStringList listed;
    whenOpen<QFileDialog>([&](QFileDialog* dialog) {
      dialog->setDirectory(dir.path());
      auto* view = dialog->findChild<QListView*>("listView");
      QVERIFY(view != nullptr);
      auto shown = [&] {
        listed.clear();
        const QModelIndex root = view->rootIndex();
        for (int row = 0; row < view->model()->rowCount(root); ++row) {
          const QModelIndex index = view->model()->index(row, 0, root);
          if (view->model()->flags(index) & Qt::ItemIsEnabled) listed << index.data().toString();
        }
        listed.sort();
        return listed.size() >= 2;
      };
      if (!QTest::qWaitFor(shown, 3000)) qWarning("the folder was not listed in time");
      auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
      QVERIFY(name != nullptr);
      name->setText("lower.wsp");
      QTest::keyClick(name, Qt::Key_Return);
    });
    const std::string path =
        windows.fileDialog({desktop::FileDialogMode::Open, "Open", "Wisp files (*.WSP)|*.WSP"});
    QCOMPARE(listed, QStringList({"lower.wsp", "upper.WSP"}));
    QCOMPARE(QString::fromStdString(path), dir.filePath("lower.wsp"));
  }

  void programsStartWithTheirArgumentsAsGivenAndFailuresSayWhy() {
    QTemporaryDir dir;
    const QString odd = dir.filePath("a b;touch c$(x)");
    QtWindowSystem windows;
    QCOMPARE(windows.startProgram("touch", {odd.toStdString()}), std::string());
    QTRY_VERIFY(QFile::exists(odd));
    QVERIFY(!QFile::exists(dir.filePath("c")));

    const std::string missing = windows.startProgram("no-such-program-brelvion", {});
    QCOMPARE(missing, std::string("Cannot start no-such-program-brelvion: program not found"));
    const QString plain = dir.filePath("plain");
    QFile(plain).open(QIODevice::WriteOnly);
    QVERIFY(!windows.startProgram(plain.toStdString(), {}).empty());
  }

  void theTextEditorComesFromTheLookup() {
    QTemporaryDir dir;
    const QString file = dir.filePath("winwisp.txt");
    QtWindowSystem windows;
    windows.setTextEditorLookup(&touchAsEditor);
    QCOMPARE(windows.startTextEditor(file.toStdString()), std::string());
    QTRY_VERIFY(QFile::exists(file));
    windows.setTextEditorLookup(&noEditor);
    QCOMPARE(windows.startTextEditor("readme.txt"),
             std::string("No text editor was found to open readme.txt"));
  }

  void aTextFileShowsReadOnlyInAWindowOfItsOwn() {
    QTemporaryDir dir;
    const QString path = dir.filePath("winwisp.txt");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Wisp help\n");
    file.close();
    QtWindowSystem windows;
    windows.setTextEditorLookup(&touchAsEditor);
    QVERIFY(windows.hasTextEditor());
    windows.setTextEditorLookup(&noEditor);
    QVERIFY(!windows.hasTextEditor());
    QCOMPARE(windows.showTextFile(path.toStdString()), std::string());
    QPlainTextEdit* shown = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (window->objectName() == "helpText") shown = qobject_cast<QPlainTextEdit*>(window);
    }
    QVERIFY(shown != nullptr);
    QVERIFY(shown->isVisible() && shown->isReadOnly());
    QCOMPARE(shown->windowTitle(), QString("winwisp.txt"));
    QCOMPARE(shown->toPlainText(), QString("Wisp help\n"));
    shown->close();
    QVERIFY(windows.showTextFile(dir.filePath("gone.txt").toStdString()).rfind("Cannot read ", 0) ==
            0);
  }

  void aMissingDocumentIsReportedBeforeAnyViewer() {
    QtWindowSystem windows;
    QCOMPARE(windows.openDocument("/nonexistent/I2cbus.pdf"),
             std::string("File not found: /nonexistent/I2cbus.pdf"));
  }
};

}  // namespace brelvion::gui::qt

QTEST_MAIN(brelvion::gui::qt::QtWindowSystemTest)
#include "QtWindowSystemTest.moc"
