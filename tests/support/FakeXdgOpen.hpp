#pragma once

#include "tests/support/EventLoop.hpp"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <vector>

namespace TestSupport {

// An `xdg-open` alone on PATH that records each call's arguments and the startup ids it inherited,
// and exits with the status it is told, crashes, or keeps running until released. The real PATH
// comes back when this goes.
class FakeXdgOpen {
public:
    FakeXdgOpen() : savedPath_(qgetenv("PATH")) {
        const QString dir = dir_.path();
        QFile script(dir + "/xdg-open");
        script.open(QIODevice::WriteOnly);
        script.write("#!/bin/sh\n"
                     "PATH=/usr/bin:/bin\n"
                     "dir='" +
                     QFile::encodeName(dir) +
                     "'\n"
                     "env | grep -E '^(DESKTOP_STARTUP_ID|XDG_ACTIVATION_TOKEN)=' >> \"$dir/inherited\"\n"
                     "printf '%s\\0' \"$#\" \"$@\" >> \"$dir/calls\"\n"
                     "read -r mode < \"$dir/mode\"\n"
                     "case \"$mode\" in\n"
                     "  hang) while [ ! -e \"$dir/release\" ]; do sleep 0.02; done; : > \"$dir/ended\" ;;\n"
                     "  crash) kill -KILL $$ ;;\n"
                     "  *) exit \"$mode\" ;;\n"
                     "esac\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        exitWith(0);
        qputenv("PATH", QFile::encodeName(dir));
    }

    ~FakeXdgOpen() {
        release();
        qputenv("PATH", savedPath_);
    }

    FakeXdgOpen(const FakeXdgOpen&) = delete;
    FakeXdgOpen& operator=(const FakeXdgOpen&) = delete;

    void exitWith(int status) { setMode(QByteArray::number(status)); }
    void crash() { setMode("crash"); }
    void hang() {
        setMode("hang");
        callsBeforeHang_ = calls().size();
    }
    // Takes the program away: nothing on PATH opens anything.
    void uninstall() { QFile::remove(dir_.path() + "/xdg-open"); }

    // Ends a hanging call and waits until it has.
    void release() {
        if (mode_ != "hang" || calls().size() == callsBeforeHang_)
            return;
        QFile(dir_.path() + "/release").open(QIODevice::WriteOnly);
        waitUntil([&] { return QFileInfo::exists(dir_.path() + "/ended"); });
        drainEvents();
    }

    // The arguments of every call so far, in order.
    std::vector<QStringList> calls() const {
        QFile file(dir_.path() + "/calls");
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QList<QByteArray> fields = file.readAll().split('\0');
        fields.removeLast(); // after the last terminator
        std::vector<QStringList> calls;
        for (qsizetype i = 0; i < fields.size();) {
            const int count = fields[i++].toInt();
            QStringList arguments;
            for (int n = 0; n < count && i < fields.size(); ++n)
                arguments << QString::fromUtf8(fields[i++]);
            calls.push_back(arguments);
        }
        return calls;
    }

    // The startup ids the calls so far found in their environment, one "NAME=value" a line (the
    // ids are written before the call's arguments).
    QByteArray inheritedStartupIds() const {
        QFile file(dir_.path() + "/inherited");
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    void setMode(const QByteArray& mode) {
        mode_ = mode;
        QFile file(dir_.path() + "/mode");
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(mode + "\n");
    }

    QTemporaryDir dir_;
    QByteArray savedPath_;
    QByteArray mode_;
    std::size_t callsBeforeHang_ = 0;
};

} // namespace TestSupport
