#include <QClipboard>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "MainWindowHarness.h"

namespace brelvion::testing {

using desktop::MessageIcon;

namespace {

void activate(MainWindowHarness& h) {
  h.window.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&h.window));
}

// Replaces the field's whole text by typing, as a user would after the select-all.
void typeInto(QLineEdit* field, const char* text) {
  field->selectAll();
  QTest::keyClicks(field, text);
}

}  // namespace

class MainWindowFieldsTest : public QObject {
  Q_OBJECT

 private slots:
  void typingOverTheSelectedAddressReplacesIt();
  void anEmptiedAddressFieldComplainsAndTakesTheFocusBack();
  void theSubAddressAndWriteDataFieldsConvertTheirText();
  void emptiedDelayFieldsGetTheirDefaultsBack();
  void theDelayFieldsMakeTheCommandDelay();
  void theCommandFileNamePassesTheFocusToSendFile();
  void theCommandFileNameTakesNoTextFromTheUser();
  void tabbingOrClickingIntoAFieldSelectsItsText();
  void atTheDesignSizeNoBarShows();
  void shrinkingShowsTheBarsOfTheShrunkDirections();
  void aViewportExactlyAsWideAsThePanelNeedsNoBar();
  void enlargingAfterScrollingHidesTheBarAndBringsThePanelBack();
  void aWindowTooSmallForTheBarsKeepsItsLayoutSilently();
};

void MainWindowFieldsTest::typingOverTheSelectedAddressReplacesIt() {
  MainWindowHarness h;
  activate(h);
  QLineEdit* text2 = h.field("Text2");
  text2->setFocus();
  QCOMPARE(text2->selectedText(), QString("42"));
  QTest::keyClick(text2, '5');
  QCOMPARE(h.window.fields().deviceAddress, std::int16_t{5});
  QTest::keyClick(text2, '0');
  QCOMPARE(h.window.fields().deviceAddress, std::int16_t{0x50});
  QVERIFY(h.windows.boxes.empty());
}

void MainWindowFieldsTest::anEmptiedAddressFieldComplainsAndTakesTheFocusBack() {
  MainWindowHarness h;
  activate(h);
  h.field("Text2")->setText("4");
  h.field("Text4")->setFocus();
  QTest::keyClick(h.field("Text2"), Qt::Key_End);
  QTest::keyClick(h.field("Text2"), Qt::Key_Backspace);
  QCOMPARE(h.windows.boxes.size(), std::size_t{1});
  QCOMPARE(h.windows.boxes[0].text, std::string("13: Type mismatch"));
  QCOMPARE(h.windows.boxes[0].title, std::string("Address Changed"));
  QCOMPARE(h.windows.boxes[0].icon, MessageIcon::Exclamation);
  QCOMPARE(h.window.fields().deviceAddress, std::int16_t{4});
  QVERIFY(h.field("Text2")->hasFocus());

  h.field("Text4")->setFocus();
  h.field("Text3")->setText("g");
  QCOMPARE(h.windows.boxes.size(), std::size_t{2});
  QCOMPARE(h.windows.boxes[1].title, std::string("Sub Address Changed"));
  QVERIFY(h.field("Text3")->hasFocus());
  QCOMPARE(h.window.fields().subAddress, std::int16_t{0});
}

void MainWindowFieldsTest::theSubAddressAndWriteDataFieldsConvertTheirText() {
  MainWindowHarness h;
  h.field("Text3")->setText("ff");
  QCOMPARE(h.window.fields().subAddress, std::int16_t{255});
  h.field("Text3")->setText("FF");
  QCOMPARE(h.window.fields().subAddress, std::int16_t{255});
  h.field("Text3")->setText("1 ");
  QCOMPARE(h.window.fields().subAddress, std::int16_t{1});
  h.field("Text4")->setText("1A");
  QCOMPARE(h.window.fields().writeData, std::int16_t{26});
  h.field("Text4")->setText("");
  QCOMPARE(h.window.fields().writeData, std::int16_t{0});
  QVERIFY(h.windows.boxes.empty());
}

void MainWindowFieldsTest::emptiedDelayFieldsGetTheirDefaultsBack() {
  MainWindowHarness h;
  h.field("Text6")->setText("4");
  h.field("Text6")->clear();
  QCOMPARE(h.field("Text6")->text(), QString("0"));
  h.field("Text7")->clear();
  QCOMPARE(h.field("Text7")->text(), QString("00"));
  QCOMPARE(h.window.sendOptions().commandDelay, 0.0);
  QVERIFY(h.windows.boxes.empty());
}

void MainWindowFieldsTest::theDelayFieldsMakeTheCommandDelay() {
  MainWindowHarness h;
  typeInto(h.field("Text6"), "3");
  typeInto(h.field("Text7"), "7");
  QCOMPARE(h.window.sendOptions().commandDelay, 3.7);
  typeInto(h.field("Text7"), "05");
  QCOMPARE(h.window.sendOptions().commandDelay, 3.05);
  QVERIFY(h.windows.boxes.empty());

  typeInto(h.field("Text7"), "x");
  QCOMPARE(h.windows.boxes.size(), std::size_t{1});
  QCOMPARE(h.windows.boxes[0].text, std::string("13: Type mismatch"));
  QCOMPARE(h.windows.boxes[0].icon, MessageIcon::Information);
  QCOMPARE(h.windows.boxes[0].title, std::string());
  QCOMPARE(h.window.sendOptions().commandDelay, 3.05);
  QCOMPARE(h.field("Text7")->text(), QString("x"));
  QCOMPARE(h.field("Text6")->maxLength(), 1);
  QCOMPARE(h.field("Text7")->maxLength(), 2);
}

void MainWindowFieldsTest::theCommandFileNamePassesTheFocusToSendFile() {
  MainWindowHarness h;
  activate(h);
  QTest::mouseClick(h.field("Text5"), Qt::LeftButton);
  QVERIFY(h.find<QPushButton>("Command1")->hasFocus());
  h.find<QWidget>("ports")->setFocus();
  QTest::keyClick(h.find<QWidget>("ports"), Qt::Key_Tab);
  QVERIFY(h.find<QPushButton>("Command1")->hasFocus());
}

// Only Open and Send File put a name there: no typing, no paste, no middle-click insert,
// even when the field is reached directly rather than through the focus.
void MainWindowFieldsTest::theCommandFileNameTakesNoTextFromTheUser() {
  MainWindowHarness h;
  activate(h);
  QLineEdit* name = h.field("Text5");
  QApplication::clipboard()->setText("pasted.i2c");
  QApplication::clipboard()->setText("selected.i2c", QClipboard::Selection);
  QTest::keyClicks(name, "typed.i2c");
  QTest::keySequence(name, QKeySequence::Paste);
  QTest::mouseClick(name, Qt::MiddleButton);
  QCOMPARE(name->text(), QString());
  QVERIFY(name->isReadOnly());
}

void MainWindowFieldsTest::tabbingOrClickingIntoAFieldSelectsItsText() {
  MainWindowHarness h;
  activate(h);
  h.field("Text2")->setFocus();
  QTest::keyClick(h.field("Text2"), Qt::Key_Tab);
  QVERIFY(h.field("txtCnt")->hasFocus());
  QCOMPARE(h.field("txtCnt")->selectedText(), QString("00"));

  h.field("Text7")->setFocus();
  QCOMPARE(h.field("Text7")->selectedText(), QString("00"));
  QTest::keyClick(h.field("Text7"), Qt::Key_Tab);
  QVERIFY(h.field("Text6")->hasFocus());
  QCOMPARE(h.field("Text6")->selectedText(), QString("0"));
  QVERIFY(!h.field("Text7")->hasSelectedText());
  QTest::keyClick(h.field("Text6"), Qt::Key_Tab);
  QVERIFY(!h.field("Text6")->hasSelectedText());

  QTest::mouseClick(h.field("Text3"), Qt::LeftButton);
  QVERIFY(h.field("Text3")->hasFocus());
  QCOMPARE(h.field("Text3")->selectedText(), QString("00"));
  QVERIFY(h.windows.boxes.empty());
}

void MainWindowFieldsTest::atTheDesignSizeNoBarShows() {
  MainWindowHarness h;
  QVERIFY(h.find<QScrollBar>("HScroll1")->isHidden());
  QVERIFY(h.find<QScrollBar>("VScroll1")->isHidden());
  QCOMPARE(h.find<QWidget>("Picture2")->pos(), QPoint(0, 0));
  const QWidget* viewport = h.find<QWidget>("Picture1");
  QVERIFY(viewport->width() >= h.find<QWidget>("Picture2")->width());
  QVERIFY(viewport->height() >= h.find<QWidget>("Picture2")->height());
}

void MainWindowFieldsTest::shrinkingShowsTheBarsOfTheShrunkDirections() {
  MainWindowHarness h;
  auto* hBar = h.find<QScrollBar>("HScroll1");
  auto* vBar = h.find<QScrollBar>("VScroll1");
  const QWidget* viewport = h.find<QWidget>("Picture1");
  const QWidget* panel = h.find<QWidget>("Picture2");

  h.resizeClient({300, 331});
  QVERIFY(!hBar->isHidden());
  QVERIFY(vBar->isHidden());
  QCOMPARE(viewport->width(), 300 - vBar->width());
  QCOMPARE(hBar->maximum(), panel->width() - viewport->width());
  QCOMPARE(hBar->geometry(), QRect(0, viewport->height(), viewport->width(), hBar->height()));
  hBar->setValue(hBar->maximum());
  QCOMPARE(panel->x() + panel->width(), viewport->width());

  h.resizeClient({430, 200});
  QVERIFY(hBar->isHidden());
  QVERIFY(!vBar->isHidden());
  QCOMPARE(vBar->maximum(), panel->height() - viewport->height());
  QCOMPARE(vBar->geometry(), QRect(viewport->width(), 0, vBar->width(), viewport->height()));

  h.resizeClient({200, 150});
  QVERIFY(!hBar->isHidden());
  QVERIFY(!vBar->isHidden());
  vBar->setValue(7);
  QCOMPARE(panel->pos(), QPoint(-hBar->value(), -7));
  QVERIFY(h.windows.boxes.empty());
}

void MainWindowFieldsTest::aViewportExactlyAsWideAsThePanelNeedsNoBar() {
  MainWindowHarness h;
  const QWidget* panel = h.find<QWidget>("Picture2");
  auto* vBar = h.find<QScrollBar>("VScroll1");
  h.resizeClient({panel->width() + vBar->width(), 331});
  QCOMPARE(h.find<QWidget>("Picture1")->width(), panel->width());
  QVERIFY(h.find<QScrollBar>("HScroll1")->isHidden());
  h.resizeClient({panel->width() + vBar->width() - 1, 331});
  QVERIFY(!h.find<QScrollBar>("HScroll1")->isHidden());
  QCOMPARE(h.find<QScrollBar>("HScroll1")->maximum(), 1);
}

void MainWindowFieldsTest::enlargingAfterScrollingHidesTheBarAndBringsThePanelBack() {
  MainWindowHarness h;
  auto* hBar = h.find<QScrollBar>("HScroll1");
  const QWidget* panel = h.find<QWidget>("Picture2");
  h.resizeClient({250, 331});
  hBar->setValue(hBar->maximum());
  const int scrolled = hBar->value();
  QVERIFY(scrolled > 0);

  // A smaller maximum pulls the value back, and the panel with it.
  h.resizeClient({300, 331});
  QCOMPARE(hBar->value(), hBar->maximum());
  QCOMPARE(panel->x(), -hBar->value());

  h.resizeClient({500, 331});
  QVERIFY(hBar->isHidden());
  QCOMPARE(hBar->value(), 0);
  QCOMPARE(panel->pos(), QPoint(0, 0));
}

void MainWindowFieldsTest::aWindowTooSmallForTheBarsKeepsItsLayoutSilently() {
  MainWindowHarness h;
  h.resizeClient({200, 150});
  const QRect before = h.find<QWidget>("Picture1")->geometry();
  h.resizeClient({10, 10});
  const QSize client = h.find<QWidget>("client")->size();
  QVERIFY2(client.width() < 17 || client.height() < 17, "the window would not shrink that far");
  QCOMPARE(h.find<QWidget>("Picture1")->geometry(), before);
  QVERIFY(h.windows.boxes.empty());

  h.resizeClient({300, 331});
  QCOMPARE(h.find<QWidget>("Picture1")->width(), 300 - h.find<QScrollBar>("VScroll1")->width());
}

}  // namespace brelvion::testing

QTEST_MAIN(brelvion::testing::MainWindowFieldsTest)
#include "MainWindowFieldsTest.moc"
