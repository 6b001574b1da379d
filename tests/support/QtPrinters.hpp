#pragma once

#include <ostream>

#include <QByteArray>
#include <QString>

// Readable failure messages for Qt text and bytes.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QByteArray& bytes, std::ostream* out) { *out << '"' << bytes.toStdString() << '"'; }
