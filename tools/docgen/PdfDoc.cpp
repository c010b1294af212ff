#include "PdfDoc.h"

#include <QPageLayout>
#include <QPageSize>
#include <algorithm>

namespace brelvion::docgen {

namespace {
constexpr int kDotsPerInch = 300;
constexpr double kParagraphGapMm = 2.2;
}  // namespace

QFont bodyFont(double points, bool bold) {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

PdfDoc::PdfDoc(const QString& path, const QString& title, const QString& footer)
    : writer_(std::make_unique<QPdfWriter>(path)), footer_(footer) {
  writer_->setResolution(kDotsPerInch);
  writer_->setPageSize(QPageSize(QPageSize::A4));
  writer_->setPageMargins(QMarginsF(20, 16, 20, 16), QPageLayout::Millimeter);
  writer_->setTitle(title);
  writer_->setCreator(QStringLiteral("Brelvion I2C Debug Tool"));
  painter_.begin(writer_.get());
  painter_.setRenderHint(QPainter::Antialiasing);
}

PdfDoc::~PdfDoc() {
  if (painter_.isActive()) painter_.end();
}

double PdfDoc::mm(double millimetres) const { return millimetres * kDotsPerInch / 25.4; }

double PdfDoc::textHeight(const QString& text, const QFont& font, double width) {
  painter_.setFont(font);
  return painter_.boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap, text).height();
}

double PdfDoc::drawWrapped(const QString& text, const QFont& font, double x, double width) {
  const double height = textHeight(text, font, width);
  painter_.setFont(font);
  painter_.setPen(Qt::black);
  painter_.drawText(QRectF(x, y_, width, height), Qt::TextWordWrap, text);
  return height;
}

void PdfDoc::ensureSpace(double height) {
  const double bottom = writer_->height() - mm(8);
  if (y_ + height > bottom && y_ > 0) newPage();
}

void PdfDoc::drawFooter() {
  painter_.setFont(bodyFont(8));
  painter_.setPen(QColor(90, 90, 90));
  const QRectF line(0, writer_->height() - mm(5), writer_->width(), mm(5));
  painter_.drawLine(line.topLeft(), line.topRight());
  painter_.drawText(line, Qt::AlignLeft | Qt::AlignBottom, footer_);
  painter_.drawText(line, Qt::AlignRight | Qt::AlignBottom, QStringLiteral("page %1").arg(page_));
}

void PdfDoc::newPage() {
  drawFooter();
  writer_->newPage();
  ++page_;
  y_ = 0;
}

void PdfDoc::titleBlock(const QString& title, const QString& subtitle) {
  y_ += drawWrapped(title, bodyFont(20, true), 0, writer_->width());
  y_ += mm(1.5);
  painter_.setPen(QColor(60, 60, 60));
  y_ += drawWrapped(subtitle, bodyFont(11), 0, writer_->width());
  y_ += mm(2);
  painter_.setPen(QPen(QColor(31, 95, 191), mm(0.6)));
  painter_.drawLine(QPointF(0, y_), QPointF(writer_->width(), y_));
  y_ += mm(5);
}

void PdfDoc::heading(const QString& text, double keepWithNextMm) {
  const QFont font = bodyFont(13, true);
  ensureSpace(textHeight(text, font, writer_->width()) + mm(keepWithNextMm));
  y_ += mm(2);
  y_ += drawWrapped(text, font, 0, writer_->width());
  y_ += mm(1.5);
}

void PdfDoc::subheading(const QString& text) {
  const QFont font = bodyFont(11, true);
  ensureSpace(textHeight(text, font, writer_->width()) + mm(15));
  y_ += drawWrapped(text, font, 0, writer_->width());
  y_ += mm(1);
}

void PdfDoc::paragraph(const QString& text) {
  const QFont font = bodyFont();
  ensureSpace(textHeight(text, font, writer_->width()));
  y_ += drawWrapped(text, font, 0, writer_->width());
  y_ += mm(kParagraphGapMm);
}

void PdfDoc::bullets(const QStringList& items) {
  const QFont font = bodyFont();
  const double indent = mm(5);
  for (const QString& item : items) {
    ensureSpace(textHeight(item, font, writer_->width() - indent));
    painter_.setFont(font);
    painter_.drawText(QPointF(mm(1), y_ + painter_.fontMetrics().ascent()), QStringLiteral("•"));
    y_ += drawWrapped(item, font, indent, writer_->width() - indent);
    y_ += mm(1);
  }
  y_ += mm(kParagraphGapMm - 1);
}

void PdfDoc::table(const QList<QStringList>& rows, const QList<double>& widths) {
  const double pad = mm(1.2);
  QList<double> columns;
  for (double fraction : widths) columns.append(fraction * writer_->width());
  QList<double> heights;
  double total = 0;
  for (int r = 0; r < rows.size(); ++r) {
    const QFont font = bodyFont(9, r == 0);
    double height = 0;
    for (int c = 0; c < rows[r].size() && c < columns.size(); ++c) {
      height = std::max(height, textHeight(rows[r][c], font, columns[c] - 2 * pad));
    }
    heights.append(height + 2 * pad);
    total += heights.last();
  }
  // A table that fits on a page is kept whole.
  if (total < writer_->height() * 0.6) ensureSpace(total);
  for (int r = 0; r < rows.size(); ++r) {
    const QFont font = bodyFont(9, r == 0);
    const double height = heights[r];
    ensureSpace(height);
    double x = 0;
    for (int c = 0; c < rows[r].size() && c < columns.size(); ++c) {
      const QRectF cell(x, y_, columns[c], height);
      painter_.setPen(QPen(QColor(120, 120, 120), mm(0.2)));
      painter_.setBrush(r == 0 ? QColor(226, 232, 240) : QColor(Qt::white));
      painter_.drawRect(cell);
      painter_.setFont(font);
      painter_.setPen(Qt::black);
      painter_.drawText(cell.adjusted(pad, pad, -pad, -pad), Qt::TextWordWrap, rows[r][c]);
      x += columns[c];
    }
    painter_.setBrush(Qt::NoBrush);
    y_ += height;
  }
  y_ += mm(kParagraphGapMm + 1);
}

void PdfDoc::figure(double heightMm, const Drawing& draw, const QString& caption) {
  const QFont font = bodyFont(9);
  const double captionHeight = textHeight(caption, font, writer_->width());
  ensureSpace(mm(heightMm) + captionHeight + mm(2));
  const QRectF area(0, y_, writer_->width(), mm(heightMm));
  painter_.save();
  draw(painter_, area);
  painter_.restore();
  y_ += area.height() + mm(1.5);
  QFont italic = font;
  italic.setItalic(true);
  y_ += drawWrapped(caption, italic, 0, writer_->width());
  y_ += mm(kParagraphGapMm + 1);
}

bool PdfDoc::finish() {
  drawFooter();
  return painter_.end();
}

}  // namespace brelvion::docgen
