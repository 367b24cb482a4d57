#include "platform/ui/qt/qt_convert.h"

#include <QByteArray>
#include <algorithm>
#include <QStringList>

namespace wenmoor::qt {

QString ToQt(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

std::string FromQt(const QString& s) { return s.toStdString(); }

QString ToQtLines(std::string_view utf8) {
  QString s = ToQt(utf8);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

QColor ToQColor(TColor color) {
  const TColor rgb = ColorToRGB(color);
  return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

void InstallFontSubstitutes() {
  // The sans-serif families of Windows dialogs; Arial itself is mapped by
  // fontconfig.
  const QStringList sans = {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("DejaVu Sans")};
  for (const char* family : {"MS Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2", "Tahoma", "Microsoft Sans Serif"})
    QFont::insertSubstitutions(QString::fromLatin1(family), sans);
  QFont::insertSubstitutions(QStringLiteral("Arial"), sans);
}

QFont ToQFont(const TFont& font) {
  QFont f(ToQt(font.Name()));
  f.setPixelSize(std::max(1, font.PixelHeight()));
  const TFontStyles style = font.Style();
  f.setBold(style.Contains(fsBold));
  f.setItalic(style.Contains(fsItalic));
  f.setUnderline(style.Contains(fsUnderline));
  f.setStrikeOut(style.Contains(fsStrikeOut));
  if (font.Pitch() == fpFixed) f.setFixedPitch(true);
  if (font.CharSet() == SYMBOL_CHARSET) f.setStyleHint(QFont::AnyStyle);
  else f.setStyleHint(QFont::SansSerif);
  return f;
}

QImage ToQImage(const TPicture& picture) {
  if (picture.Empty()) return {};
  const std::vector<uint8_t>& bmp = picture.Bitmap().Bmp();
  QImage image;
  image.loadFromData(bmp.data(), static_cast<int>(bmp.size()), "BMP");
  return image;
}

}  // namespace wenmoor::qt
