#pragma once

#include <QList>
#include <QPainter>
#include <QPdfWriter>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace brelvion::docgen {

// A4 pages that fill from top to bottom: headings, wrapped paragraphs, bullet lists,
// tables and drawn figures, with a new page whenever the next block would not fit and a
// footer on every page.
class PdfDoc {
 public:
  using Drawing = std::function<void(QPainter&, const QRectF&)>;

  PdfDoc(const QString& path, const QString& title, const QString& footer);
  ~PdfDoc();
  PdfDoc(const PdfDoc&) = delete;
  PdfDoc& operator=(const PdfDoc&) = delete;

  void titleBlock(const QString& title, const QString& subtitle);
  // Starts a new page unless keepWithNextMm of what follows fits under the heading.
  void heading(const QString& text, double keepWithNextMm = 25);
  void subheading(const QString& text);
  void paragraph(const QString& text);
  void bullets(const QStringList& items);
  // Column widths as fractions of the text width; the first row is the header.
  void table(const QList<QStringList>& rows, const QList<double>& widths);
  void figure(double heightMm, const Drawing& draw, const QString& caption);
  void newPage();
  // Ends the document; false when the PDF could not be written.
  bool finish();

  double mm(double millimetres) const;

 private:
  void ensureSpace(double height);
  void drawFooter();
  double textHeight(const QString& text, const QFont& font, double width);
  double drawWrapped(const QString& text, const QFont& font, double x, double width);

  std::unique_ptr<QPdfWriter> writer_;
  QPainter painter_;
  QString footer_;
  double y_ = 0;
  int page_ = 1;
};

QFont bodyFont(double points = 10, bool bold = false);

}  // namespace brelvion::docgen
