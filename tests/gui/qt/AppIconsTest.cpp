#include <QGuiApplication>
#include <QImage>
#include <QtTest>

#include "gui/qt/AppIcons.h"

using brelvion::gui::qt::registerAppIcons;
using brelvion::gui::qt::toolIcon;
using brelvion::gui::qt::wispIcon;

// The icons must survive the static library and render through the SVG plugin, or the
// windows silently show the window system's default icon.
class AppIconsTest : public QObject {
  Q_OBJECT

 private slots:
  void iconsRenderAtTheSizesADesktopAsksFor() {
    for (const QIcon& icon : {toolIcon(), wispIcon()}) {
      QVERIFY(!icon.isNull());
      for (int size : {16, 32, 128}) {
        const QImage image = icon.pixmap(size, size).toImage();
        QCOMPARE(image.width(), size);
        // The middle of each icon is drawn, not transparent.
        QVERIFY(qAlpha(image.pixel(size / 2, size / 2)) > 0);
      }
    }
  }

  void resourcePathsWorkOnceRegistered() {
    registerAppIcons();
    QVERIFY(!QIcon(QStringLiteral(":/icons/brelvion-i2c.svg")).isNull());
    QVERIFY(!QIcon(QStringLiteral(":/icons/brelvion-wisp.svg")).isNull());
    QVERIFY(QFile::exists(QStringLiteral(":/icons/brelvion-wisp.svg")));
  }
};

QTEST_MAIN(AppIconsTest)
#include "AppIconsTest.moc"
