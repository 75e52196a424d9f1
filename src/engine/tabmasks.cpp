#include "engine/tabmasks.h"

#include "core/mdlmavrell.h"
#include "engine/targetkinds.h"

namespace engine {

QList<TabMask> tabMasks(int pageCount, bool hasAudio, bool hasPicture, bool jobImpossible)
{
    QList<TabMask> masks;
    const QString message = hasAudio ? mdlMavrell::lng[txt::NoVideoInFile] : mdlMavrell::lng[txt::NoAudioInFile];
    for (int i = 0; i < pageCount; ++i) {
        TabMask m;
        m.message = message;
        if (jobImpossible)
            m.visible = true;
        else if (i == AudioPage)
            m.visible = !hasAudio;
        else if (i != 0)
            m.visible = !hasPicture;
        masks.append(m);
    }
    return masks;
}

QList<TabMask> tabMasks(int pageCount, const jobrecords::SourceInfo &source, const jobrecords::JobSettings &job)
{
    return tabMasks(pageCount, source.hasSound(), source.srcWidth != 0 && source.srcHeight != 0,
                    isJobImpossible(source, job));
}

QPoint centredIn(const QSize &inner, const QSize &label)
{
    return {(inner.width() - label.width()) / 2, (inner.height() - label.height()) / 2};
}

NotePageLayout notePageLayout(const QSize &page, const QSize &noteSize, const QSize &buttonSize)
{
    NotePageLayout l;
    l.donationCaption = mdlMavrell::lng[txt::DonateMenu];
    l.note = mdlMavrell::lng[txt::LaterVersionsHint];
    l.noteRect = QRect(centredIn(page, noteSize), noteSize);
    l.buttonRect = QRect(QPoint((page.width() - buttonSize.width()) / 2, l.noteRect.top() + noteSize.height() + 4),
                         buttonSize);
    return l;
}

} // namespace engine
