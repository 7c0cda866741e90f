// SPDX-License-Identifier: GPL-3.0-or-later
#include "Desktop.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

#ifdef KORVANE_HAVE_CANBERRA
#    include <canberra.h>
#    include <dlfcn.h>
#endif

namespace korvane {

namespace {

#ifdef KORVANE_HAVE_CANBERRA
    struct SoundPlayer
    {
        ca_context *Context = nullptr;
        decltype(&ca_context_play) Play = nullptr;
    };

    template<typename Function>
    Function Symbol(void *library, const char *name)
    {
        return reinterpret_cast<Function>(dlsym(library, name));
    }

    // One context for the whole run, opened on first use; sounds play
    // asynchronously inside the sound server. The library (and the five it
    // pulls in) is loaded here rather than by the loader before the first frame.
    const SoundPlayer &Sounds()
    {
        static const SoundPlayer player = [] {
            SoundPlayer p;
            void *library = dlopen("libcanberra.so.0", RTLD_NOW | RTLD_LOCAL);
            if (!library)
                return p;
            const auto create = Symbol<decltype(&ca_context_create)>(library, "ca_context_create");
            const auto change
                = Symbol<decltype(&ca_context_change_props)>(library, "ca_context_change_props");
            const auto play = Symbol<decltype(&ca_context_play)>(library, "ca_context_play");
            ca_context *c = nullptr;
            if (!create || !change || !play || create(&c) != CA_SUCCESS) {
                dlclose(library);
                return p;
            }
            change(c, CA_PROP_APPLICATION_NAME, "Korvane", nullptr);
            p.Context = c;
            p.Play = play;
            return p;
        }();
        return player;
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
    if (const SoundPlayer &sounds = Sounds(); sounds.Context) {
        const QByteArray id = eventId.toUtf8();
        // A theme without the sound answers an error: silence is the right result.
        sounds.Play(sounds.Context, 0, CA_PROP_EVENT_ID, id.constData(), nullptr);
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

} // namespace korvane
