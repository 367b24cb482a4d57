// Conversions between the toolkit's values and Qt's: strings, colours,
// fonts, pictures. Only the Qt backend includes this.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <string>
#include <string_view>

#include "platform/rtl/picture.h"
#include "platform/ui/font.h"
#include "platform/ui/graphics.h"

namespace wenmoor::qt {

QString ToQt(std::string_view utf8);
std::string FromQt(const QString& s);
// Line breaks as a text widget wants them (CR LF and CR become LF).
QString ToQtLines(std::string_view utf8);

// System colours resolve through ColorToRGB.
QColor ToQColor(TColor color);

// The font a control asks for. The families of the classic Windows dialogs
// are mapped onto a metric-compatible family once (InstallFontSubstitutes)
// so that captions designed for them fit their controls.
QFont ToQFont(const TFont& font);
void InstallFontSubstitutes();

// The picture's bitmap as an image (a null image for an empty or
// undecodable one).
QImage ToQImage(const TPicture& picture);

}  // namespace wenmoor::qt
