// The main window as the conversion tests drive it: a program folder of its own,
// scripted prompts, generated clips copied into a temporary folder (targets are
// written beside them), a menu pick answered with a clip, and ffprobe.
#pragma once

#include "controls/stylebutton.h"
#include "core/cmdoutput.h"
#include "core/mdlmavrell.h"
#include "core/toolpaths.h"
#include "coregui/drawing.h"
#include "coregui/jobstate.h"
#include "engine/targetmenu.h"
#include "mainwin/frmmain.h"
#include "options/frmoptions.h"
#include "player/frmplayer.h"
#include "support/mediaprobe.h"
#include "support/scriptedprompts.h"
#include "support/testenv.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace conversiontest {

using namespace mdlMavrell;
using engine::TargetMenu;
using prompts::Answer;


inline std::string s(const QString &q) { return q.toStdString(); }

using testenv::Probed;
using testenv::ffprobe;

class Conversion : public ::testing::Test {
protected:
    void SetUp() override
    {
        prog.activate();
        jobstate::sourceInfo = {};
        jobstate::jobSettings.markIn = jobstate::jobSettings.markOut = 0;
        cmdoutput::stopEncodeFlag = false;
        w = &frmMain();
        w->applyLanguage(QStringLiteral("en"));
        ASSERT_TRUE(work.isValid());
    }
    void TearDown() override
    {
        unloadFrmPlayer();
        destroyFrmMain();
        jobstate::jobSettings.markIn = jobstate::jobSettings.markOut = 0;
        jobstate::sourceInfo = {};
    }

    // A generated clip copied into this test's own folder (targets are written beside it).
    QString source(const QString &fixture, const QString &name = QString())
    {
        const QString from = testenv::fixture(fixture);
        const QString to = work.filePath(name.isEmpty() ? fixture : name);
        QFile::remove(to);
        EXPECT_TRUE(QFile::copy(from, to)) << s(from);
        return to;
    }
    // The menu item is picked and the open dialog answered with src.
    void pick(TargetMenu menu, int index, const QString &src)
    {
        prompts.answerFile(src);
        w->targetMenu_Click(menu, index);
    }
    bool said(int entry) const
    {
        for (const auto &m : prompts.messages)
            if (m.text.contains(lng[entry]))
                return true;
        return false;
    }

    testenv::ProgramDir prog;
    ScriptedPrompts prompts;
    QTemporaryDir work;
    FrmMain *w = nullptr;
};


} // namespace conversiontest
