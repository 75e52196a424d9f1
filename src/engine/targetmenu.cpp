#include "engine/targetmenu.h"

#include "core/mdlmavrell.h"
#include "engine/targetkinds.h"

namespace engine {

namespace {

QList<TargetMenuItem> buildItems()
{
    using M = TargetMenu;
    QList<TargetMenuItem> items;
    auto video = [&](M menu, int index, const char *ext, const QString &format, int back, const QString &caption,
                     bool recommended = false) {
        TargetMenuItem it;
        it.menu = menu;
        it.controlName = targetMenuControlName(menu);
        it.index = index;
        it.ext = QString::fromLatin1(ext);
        it.format = format;
        it.back = back;
        it.captionText = caption;
        it.recommended = recommended;
        items.append(it);
    };
    video(M::ToMpg, 0, "dat", kind::Vcd, 5, QStringLiteral(" DAT [VCD]"));
    video(M::ToMpg, 1, "vob", kind::Dvd, 5, QStringLiteral(" VOB [DVD]"));
    {
        TargetMenuItem sep;
        sep.menu = M::ToMpg;
        sep.controlName = targetMenuControlName(M::ToMpg);
        sep.index = 2;
        sep.separator = true;
        items.append(sep);
    }
    video(M::ToMpg, 3, "mpg", kind::Mpeg1, 5, QStringLiteral(" MPG [MPEG1]"));
    video(M::ToMpg, 4, "mpg", kind::Mpeg2, 5, QStringLiteral(" MPG [MPEG2]"), true);
    video(M::ToWmv, 0, "wmv", kind::Wmv7, 5, QStringLiteral(" WMV [WMV7]"));
    video(M::ToWmv, 1, "wmv", kind::Wmv8, 5, QStringLiteral(" WMV [WMV8]"));
    video(M::ToWmv, 2, "wmv", kind::Mp42, 5, QStringLiteral(" WMV [MP42]"), true);
    video(M::ToAvi, 0, "avi", kind::Mp42, 6, QStringLiteral(" AVI  [MP42 + MP3]"));
    video(M::ToAvi, 1, "avi", kind::Xvid, 6, QStringLiteral(" AVI  [XviD + MP3]"));
    video(M::ToAvi, 2, "avi", kind::Divx, 6, QStringLiteral(" AVI  [DivX + MP3]"), true);
    video(M::ToAvi, 3, "avi", kind::H264, 6, QStringLiteral(" AVI  [H.264 + MP3]"));
    // Item 4's caption holds txt::VideoUnchanged (video unchanged); built in targetMenuCaption.
    video(M::ToAvi, 4, "avi", kind::KeepVideoMp3, 6, QString());

    const char *sounds[] = {"wav", "mp3", "mp4", "wma", "aac", "ac3", "ogg"};
    for (int i = 0; i < 7; ++i) {
        TargetMenuItem it;
        it.menu = M::ToSound;
        it.controlName = targetMenuControlName(M::ToSound);
        it.index = i;
        it.ext = QString::fromLatin1(sounds[i]);
        it.format = it.ext.toUpper();
        it.captionText = QLatin1Char(' ') + it.format;
        items.append(it);
    }

    const struct {
        M menu;
        QString format;
    } copies[] = {{M::ToChangeVol, kind::ChangeVolume}, {M::ToCut, kind::Cut}, {M::ToFix, kind::Repair}};
    const QString types[] = {QStringLiteral("MPG、DAT、VOB"), QStringLiteral("WMV"), QStringLiteral("AVI ")};
    const char *exts[] = {"mpg|dat|vob", "wmv", "avi"};
    for (const auto &c : copies) {
        for (int i = 0; i < 3; ++i) {
            TargetMenuItem it;
            it.menu = c.menu;
            it.controlName = targetMenuControlName(c.menu);
            it.index = i;
            it.ext = QString::fromLatin1(exts[i]);
            it.format = c.format;
            it.captionText = types[i];
            items.append(it);
        }
    }
    return items;
}

} // namespace

QString targetMenuControlName(TargetMenu menu)
{
    switch (menu) {
    case TargetMenu::ToMpg: return QStringLiteral("mnuSrcIsFileToMpg");
    case TargetMenu::ToWmv: return QStringLiteral("mnuSrcIsFileToWmv");
    case TargetMenu::ToAvi: return QStringLiteral("mnuSrcIsFileToAvi");
    case TargetMenu::ToSound: return QStringLiteral("mnuSrcIsFileToSound");
    case TargetMenu::ToChangeVol: return QStringLiteral("mnuSrcIsFileToChangeVol");
    case TargetMenu::ToCut: return QStringLiteral("mnuSrcIsFileToCut");
    case TargetMenu::ToFix: return QStringLiteral("mnuSrcIsFileToFix");
    }
    return {};
}

const QList<TargetMenuItem> &targetMenuItems()
{
    static const QList<TargetMenuItem> items = buildItems();
    return items;
}

const TargetMenuItem *findTargetMenuItem(TargetMenu menu, int index)
{
    for (const TargetMenuItem &it : targetMenuItems())
        if (it.menu == menu && it.index == index)
            return &it;
    return nullptr;
}

const TargetMenuItem *targetMenuItemOf(const jobrecords::JobSettings &job)
{
    for (const TargetMenuItem &it : targetMenuItems()) {
        if (it.separator)
            continue;
        if (job.targetIsAudio) {
            if (it.menu == TargetMenu::ToSound && it.ext == job.targetExt)
                return &it;
        } else if (it.menu != TargetMenu::ToSound && it.format == job.targetFormat
                   && it.ext.split(QLatin1Char('|')).contains(job.targetExt)) {
            return &it;
        }
    }
    return nullptr;
}

QString targetMenuCaption(const TargetMenuItem &item)
{
    using mdlMavrell::lng;
    if (item.separator)
        return {};
    switch (item.menu) {
    case TargetMenu::ToMpg:
    case TargetMenu::ToWmv:
    case TargetMenu::ToAvi: {
        QString text = item.captionText;
        if (item.menu == TargetMenu::ToAvi && item.index == 4)
            text = QStringLiteral(" AVI  [") + lng[txt::VideoUnchanged] + QStringLiteral(" + MP3]");
        QString caption = lng[txt::ChooseVideoToConvert] + text;
        if (item.recommended)
            caption += QStringLiteral("  ") + lng[txt::Recommended];
        return caption;
    }
    case TargetMenu::ToSound: return lng[txt::ChooseFileToAudio] + item.captionText;
    case TargetMenu::ToChangeVol: return QString(lng[txt::ChooseFileForVolume]).replace(QStringLiteral("aaa"), item.captionText);
    case TargetMenu::ToCut: return QString(lng[txt::ChooseFileToCut]).replace(QStringLiteral("aaa"), item.captionText);
    case TargetMenu::ToFix: return QString(lng[txt::ChooseFileToRepair]).replace(QStringLiteral("aaa"), item.captionText);
    }
    return {};
}

QString cutFormatCaption(const QString &caption, int back)
{
    // Positions count from 1 here, as the captions' rules are written.
    const int open = int(caption.indexOf(QLatin1Char('['))) + 1;
    const int close = int(caption.indexOf(QLatin1Char(']'))) + 1;
    const int s = open == 0 ? -back : open - back;
    if (close > 0 && s >= 1 && close > s)
        return caption.mid(s - 1, close - s + 1);
    return {};
}

std::optional<TargetChoice> targetChoice(TargetMenu menu, int index, const QString &caption)
{
    const TargetMenuItem *item = findTargetMenuItem(menu, index);
    if (!item || item->separator)
        return std::nullopt;
    TargetChoice c;
    c.ext = item->ext;
    switch (menu) {
    case TargetMenu::ToMpg:
    case TargetMenu::ToWmv:
    case TargetMenu::ToAvi:
        c.format = item->format;
        c.formatCaption = cutFormatCaption(caption.isEmpty() ? targetMenuCaption(*item) : caption, item->back);
        break;
    case TargetMenu::ToSound:
        c.format = mdlMavrell::lng[txt::AudioWord] + QLatin1Char(' ') + item->format;
        c.formatCaption = c.format;
        c.audioTarget = true;
        break;
    default:
        c.format = item->format;
        break;
    }
    return c;
}

} // namespace engine
