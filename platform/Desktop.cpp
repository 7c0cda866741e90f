#include "Desktop.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

#ifdef KORVANE_HAVE_CANBERRA
#    include <canberra.h>
#endif

namespace korvane {

namespace {

#ifdef KORVANE_HAVE_CANBERRA
    // One context for the whole run, opened on first use; sounds play
    // asynchronously inside the sound server.
    ca_context *SoundContext()
    {
        static ca_context *context = [] {
            ca_context *c = nullptr;
            if (ca_context_create(&c) != CA_SUCCESS)
                return static_cast<ca_context *>(nullptr);
            ca_context_change_props(c, CA_PROP_APPLICATION_NAME, "Korvane", nullptr);
            return c;
        }();
        return context;
    }
#endif

} // namespace

void Desktop::ShowMessage(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Korvane"), text, QMessageBox::Ok, FParent);
    box.exec();
}

void Desktop::PlaySound(const QString &eventId)
{
#ifdef KORVANE_HAVE_CANBERRA
    if (ca_context *context = SoundContext()) {
        const QByteArray id = eventId.toUtf8();
        // A theme without the sound answers an error: silence is the right result.
        ca_context_play(context, 0, CA_PROP_EVENT_ID, id.constData(), nullptr);
    }
#else
    Q_UNUSED(eventId);
#endif
}

bool Desktop::OpenDefault(const QString &target)
{
    return QDesktopServices::openUrl(UrlOf(target));
}

QUrl Desktop::UrlOf(const QString &target)
{
    // A path, or a file link, names a file whatever characters its folders
    // hold ('#', "%20"); anything else is an address with a scheme of its own.
    static const QString file = QStringLiteral("file://");
    if (target.startsWith(u'/'))
        return QUrl::fromLocalFile(target);
    if (target.startsWith(file, Qt::CaseInsensitive))
        return QUrl::fromLocalFile(target.mid(file.size()));
    return QUrl(target);
}

QString Desktop::ProgramPath() const
{
    return QCoreApplication::applicationFilePath();
}

QString Desktop::ProgramFolder() const
{
    return QFileInfo(ProgramPath()).absolutePath();
}

QString RecordingDesktop::ProgramPath() const
{
    return FProgramPath.isEmpty() ? Desktop::ProgramPath() : FProgramPath;
}

} // namespace korvane
