#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace Platform {

// An INI file read line by line the way QSettings reads it, with each value's text unescaped and
// nothing decoded. QSettings decodes a value that begins with "@" as it parses the file, and some
// of those decodings lose the value or allocate what the text asks for; this tells what the file
// says before QSettings makes anything of it.
class IniFileText {
public:
    struct KeyLine {
        qsizetype begin = 0; // the line's bytes in the file, lines it runs on to included
        qsizetype end = 0;
        QByteArray key;    // as written
        QStringList items; // the value, or each item of a list
    };

    explicit IniFileText(const QByteArray& text);

    const std::vector<KeyLine>& keyLines() const { return keyLines_; }
    // A line that is neither a key, a comment nor a section, or a section without its "]".
    bool hasLinesThatDoNotParse() const { return hasLinesThatDoNotParse_; }
    // A quote still open at the end of a line: QSettings reads the lines below into the value.
    bool hasOpenQuote() const { return hasOpenQuote_; }

private:
    std::vector<KeyLine> keyLines_;
    bool hasLinesThatDoNotParse_ = false;
    bool hasOpenQuote_ = false;
};

} // namespace Platform
