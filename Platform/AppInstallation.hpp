#pragma once

#include <QString>
#include <optional>

namespace Platform {

// An installed copy of the program: the desktop files that `cmake --install` or the package put
// beside it, in the data folder of the prefix above the program's own folder. A copy run from a
// build folder has none.
class AppInstallation {
public:
    // The installation `program` belongs to: the data folder beside it holds the menu entry
    // `applications/<appId>.desktop`. None for a program run from anywhere else.
    static std::optional<AppInstallation> of(const QString& program, const QString& appId);
    // The running program's, under the desktop identity's app id; looked up once.
    static const std::optional<AppInstallation>& ofRunningProgram();

    // <prefix>/share, say.
    const QString& dataFolder() const { return dataFolder_; }
    // The installed menu entry.
    QString menuEntry() const;
    // Whether the hicolor theme of this installation holds the scalable icon `name` in `context`
    // ("apps", "status").
    bool hasThemeIcon(const QString& context, const QString& name) const;

private:
    AppInstallation(QString dataFolder, QString appId);

    QString dataFolder_;
    QString appId_;
};

} // namespace Platform
