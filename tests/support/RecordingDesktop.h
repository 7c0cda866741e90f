// SPDX-License-Identifier: GPL-3.0-or-later
// A desktop for the tests and benchmarks, so that nothing modal or audible happens.
#pragma once

#include "Desktop.h"

#include <QString>
#include <QStringList>

namespace korvane {

// Records every request and carries it out nowhere.
class RecordingDesktop : public Desktop
{
public:
    explicit RecordingDesktop(QString programPath = {})
        : FProgramPath(std::move(programPath))
    { }

    void ShowMessage(const QString &text) override { Messages << text; }
    void PlaySound(const QString &eventId) override { Sounds << eventId; }
    bool OpenDefault(const QString &target) override
    {
        Opened << target;
        return true;
    }
    QString ProgramPath() const override
    {
        return FProgramPath.isEmpty() ? Desktop::ProgramPath() : FProgramPath;
    }

    QStringList Messages;
    QStringList Sounds;
    QStringList Opened;

private:
    QString FProgramPath;
};

} // namespace korvane
