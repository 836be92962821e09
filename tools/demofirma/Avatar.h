// Friendly flat portraits for the demo company, drawn from one number without any files.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

namespace Avatar {

// The photo format; the board's tiles have the same 4:5 ratio.
constexpr QSize kGroesse{480, 600};
constexpr int kJpegQualitaet = 85;

// Bit 0 of the number picks a woman (1) or a man (0): hair styles differ, beards only for men.
// The same number always gives the same picture, at any size.
QImage Zeichne(quint32 merkmal, QSize groesse = kGroesse);
// The picture as the database stores photos; empty when Qt has no JPEG writer.
QByteArray Jpeg(quint32 merkmal, QSize groesse = kGroesse);

} // namespace Avatar
