// Image paths: the file dialog, and the rules that refuse a path or warn it will not be shown.
#include "book/imagepaths.h"

#include "book/frmrecettes.h"
#include "book/spaces.h"
#include "store/cp1252.h"
#include "store/module1.h"
#include "store/pathlookup.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

#include <array>

namespace gratinel {

namespace imagepaths {

namespace {

// In the order they are tested.
constexpr std::array<const char *, 9> kRefused = {"EXE", "COM", "BAT", "DLL", "VBX", "OCX", "DOC", "TXT", "WRI"};
constexpr std::array<const char *, 6> kViewable = {"GIF", "JPG", "BMP", "WMF", "EMF", "ICO"};

template <std::size_t N>
bool listed(const std::array<const char *, N> &list, const QString &extension)
{
    for (const char *entry : list) {
        if (extension == QLatin1String(entry))
            return true;
    }
    return false;
}

} // namespace

std::optional<QString> imageExtension(const QString &path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot < 0)
        return std::nullopt;
    return path.mid(dot + 1).toUpper();
}

bool isRefusedExtension(const QString &extension)
{
    return listed(kRefused, extension);
}

bool isViewableExtension(const QString &extension)
{
    return listed(kViewable, extension);
}

bool refusedOnChange(const QString &path)
{
    if (path.isEmpty())
        return false;
    const std::optional<QString> ext = imageExtension(path);
    return !ext || isRefusedExtension(*ext);
}

Verdict checkOnValidation(const QString &path)
{
    const std::optional<QString> ext = imageExtension(path);
    if (!ext || ext->isEmpty() || isRefusedExtension(*ext))
        return Verdict::Refused;
    return isViewableExtension(*ext) ? Verdict::Viewable : Verdict::NotViewable;
}

Platform::OpenFileRequest dialogRequest()
{
    Platform::OpenFileRequest r;
    r.title = QStringLiteral("Rechercher une image");
    r.filters = QStringList{
        QStringLiteral("(*.GIF) Compuserve GIF|*.GIF"),
        QStringLiteral("(*.JPG) JPEG-Fichiers|*.JPG"),
        QStringLiteral("(*.BMP) Bitmap Windows|*.BMP"),
        QStringLiteral("(*.WMF) Méta-fichier Windows|*.WMF"),
        QStringLiteral("(*.EMF) Méta-fichier étendu Windows|*.EMF"),
        QStringLiteral("Tous fichiers (*.*)|*.*"),
    };
    r.filterIndex = 1;
    return r;
}

Presence imagePresence(const QString &path, QString *file)
{
    // An empty path names nothing that could come back.
    if (path.isEmpty())
        return Presence::Gone;
    if (!QDir::isAbsolutePath(path)) {
        if (!QFileInfo(path).isFile())
            return Presence::Unreachable;
        if (file)
            *file = path;
        return Presence::Present;
    }
    const pathlookup::Found found = pathlookup::find(path);
    if (!found.file.isEmpty()) {
        if (file)
            *file = found.file;
        return Presence::Present;
    }
    return found.folderThere ? Presence::Gone : Presence::Unreachable;
}

std::optional<QString> chooseImage(Platform &platform)
{
    return platform.openFileName(dialogRequest());
}

} // namespace imagepaths

void frmRecettes::txtImageAjouter_Change()
{
    const QString path = txtImageAjouter->text();
    const QStringList unstorable = cp1252::unstorable(path);
    if (unstorable.isEmpty() && !imagepaths::refusedOnChange(path))
        return;
    Platform &platform = m_.windows();
    platform.setPointer(Platform::Pointer::Normal);
    platform.beep();
    if (unstorable.isEmpty())
        platform.msgBox(imagepaths::kNotAnImage, Platform::Icon::Information);
    else
        platform.msgBox(unstorableMessage(unstorable), Platform::Icon::Warning);
    txtImageAjouter->clear();
}

std::optional<QString> frmRecettes::chooseStorableImage()
{
    std::optional<QString> chosen = imagepaths::chooseImage(m_.windows());
    if (!chosen)
        return std::nullopt;
    // A folder or file name the book cannot spell would be stored with "?" in it, and then
    // name no file at all: refused at once, as a type that is no image is.
    const QStringList unstorable = cp1252::unstorable(*chosen);
    if (!unstorable.isEmpty()) {
        m_.platform.beep();
        m_.platform.msgBox(unstorableMessage(unstorable), Platform::Icon::Warning);
        return std::nullopt;
    }
    return chosen;
}

void frmRecettes::pasteImagePath(const QString &pasted)
{
    // The box holds one whole path: what is pasted takes its place, and goes through the
    // checks of a change, then must name a file, as on the modify page. Nothing pasted leaves
    // the box as it was; a relative path is made full against the folder the program started
    // in (the program never changes it), as the file dialog gives full paths.
    QString path = trimSpaces(pasted);
    if (path.isEmpty())
        return;
    if (QDir::isRelativePath(path))
        path = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    txtImageAjouter->setText(path);
    if (txtImageAjouter->text().isEmpty() || QFileInfo(path).isFile())
        return;
    Platform &platform = m_.windows();
    platform.setPointer(Platform::Pointer::Normal);
    platform.beep();
    platform.msgBox(QStringLiteral("Ce fichier n'existe pas."), Platform::Icon::Information);
    txtImageAjouter->clear();
}

void frmRecettes::cmdImageAjouter_Click()
{
    if (const std::optional<QString> chosen = chooseStorableImage())
        txtImageAjouter->setText(*chosen);
}

} // namespace gratinel
