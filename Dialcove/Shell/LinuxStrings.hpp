#pragma once

#include <QString>
#include <QTranslator>

namespace Dialcove {

// The Linux readings of the few texts that name the macOS host ("this Mac", "System Settings"...).
// Keyed by the English text, in any context; every other text shows as written.
class LinuxStrings : public QTranslator {
    Q_OBJECT
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override { return false; }

    // The Linux reading of `sourceText`, or an empty string when it has none.
    static QString reading(const char* sourceText);

    // Installs one table on the running application; later calls do nothing.
    static void install();
};

} // namespace Dialcove
