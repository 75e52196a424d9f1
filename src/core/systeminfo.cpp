#include "core/systeminfo.h"

#include "core/mdlmavrell.h"

#include <QFileInfo>
#include <QLocale>
#include <QSet>
#include <QStorageInfo>
#include <fontconfig/fontconfig.h>

namespace mdlLocaleLng {

QString LngForLocaleName(const QString &name)
{
    const QLocale loc(name);
    if (loc.language() != QLocale::Chinese)
        return QStringLiteral("en");
    if (loc.script() == QLocale::TraditionalChineseScript)
        return QStringLiteral("tw");
    switch (loc.territory()) {
    case QLocale::Taiwan:
    case QLocale::HongKong:
    case QLocale::Macao: return QStringLiteral("tw");
    default: return QStringLiteral("gb");
    }
}

QString GetLocaleLng() { return LngForLocaleName(QLocale::system().name()); }

} // namespace mdlLocaleLng

namespace mdlMavrell {

bool IsLocalDrive(const QString &path)
{
    if (path.isEmpty())
        return false;
    QFileInfo fi(path);
    const QString folder = fi.isDir() ? fi.absoluteFilePath() : fi.absolutePath();
    if (!QFileInfo(folder).isDir())
        return false;
    const QStorageInfo storage(folder);
    if (!storage.isValid() || !storage.isReady() || storage.isReadOnly())
        return false;
    return !isNetworkFileSystem(storage.fileSystemType());
}

bool isNetworkFileSystem(const QByteArray &type)
{
    // The desktop's virtual file system (fuse.gvfsd-fuse) mounts network shares,
    // phones and cameras: nothing there is a local drive.
    static const char *network[] = {"nfs", "nfs4", "cifs", "smb", "smbfs", "smb3", "fuse.sshfs", "sshfs",
                                    "9p", "afs", "ncpfs", "fuse.rclone", "davfs", "fuse.davfs2",
                                    "fuse.gvfsd-fuse", "fuse.gvfs-fuse-daemon"};
    const QByteArray lower = type.toLower();
    for (const char *n : network)
        if (lower == n)
            return true;
    return false;
}

} // namespace mdlMavrell

namespace mdlGetFontsFile {

QString DisplayName(const QString &family)
{
    // The Chinese font families the text table names in the user's language.
    static const struct {
        const char *family;
        txt::Entry name;
    } chinese[] = {{"FangSong", txt::FontFangSong},
                   {"SimSun", txt::FontSimSun},
                   {"SimSun & NSimSun", txt::FontSimSunNSimSun},
                   {"MingLiU & PMingLiU & MingLiU_HKSCS", txt::FontMingLiU},
                   {"MingLiU-ExtB & PMingLiU-ExtB & MingLiU_HKSCS-ExtB", txt::FontMingLiUExtB},
                   {"SimHei", txt::FontSimHei},
                   {"Microsoft JhengHei", txt::FontJhengHei},
                   {"Microsoft JhengHei Bold", txt::FontJhengHeiBold},
                   {"Microsoft YaHei", txt::FontYaHei},
                   {"Microsoft YaHei Bold", txt::FontYaHeiBold},
                   {"KaiTi", txt::FontKaiTi},
                   {"DFKai-SB", txt::FontDFKai}};
    for (const auto &c : chinese)
        if (family == QLatin1String(c.family))
            return mdlMavrell::lng[c.name];
    return family;
}

QList<FontItem> InstalledFonts()
{
    QList<FontItem> items;
    if (!FcInit())
        return items;
    FcPattern *pattern = FcPatternCreate();
    FcObjectSet *objects = FcObjectSetBuild(FC_FAMILY, FC_FILE, nullptr);
    FcFontSet *set = FcFontList(nullptr, pattern, objects);
    QSet<QString> seen;
    if (set) {
        for (int i = 0; i < set->nfont; ++i) {
            FcChar8 *family = nullptr, *file = nullptr;
            if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &family) != FcResultMatch
                || FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) != FcResultMatch)
                continue;
            FontItem item;
            item.family = QString::fromUtf8(reinterpret_cast<const char *>(family)).trimmed();
            item.file = QString::fromUtf8(reinterpret_cast<const char *>(file));
            const QString lower = item.file.toLower();
            if (item.family.isEmpty() || !(lower.endsWith(QLatin1String(".ttf")) || lower.endsWith(QLatin1String(".ttc"))))
                continue;
            item.text = DisplayName(item.family) + QStringLiteral("   (") + QFileInfo(item.file).fileName() + ')';
            if (seen.contains(item.text))
                continue;
            seen.insert(item.text);
            items.append(item);
        }
        FcFontSetDestroy(set);
    }
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return items;
}

} // namespace mdlGetFontsFile
