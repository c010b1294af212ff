// Writes the tool's two PDF help documents into the folder given on the command line.
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "Documents.h"

int main(int argc, char* argv[]) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: brelvion-docgen OUTPUT_FOLDER\n");
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  if (!folder.mkpath(QStringLiteral("."))) {
    std::fprintf(stderr, "brelvion-docgen: cannot create %s\n", argv[1]);
    return 1;
  }
  const struct {
    const char* name;
    bool (*write)(const QString&);
  } documents[] = {{"I2cbus.pdf", brelvion::docgen::writeBusHelp},
                   {"Cable.pdf", brelvion::docgen::writeCableSchematic}};
  for (const auto& document : documents) {
    const QString path = folder.filePath(QString::fromLatin1(document.name));
    if (!document.write(path)) {
      std::fprintf(stderr, "brelvion-docgen: cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
