// With no prompts installed and no dialogs behind the seam (a program without
// windows), nobody is asked: a box is closed as with Escape, a file dialog cancelled.
#include "core/userprompts.h"

#include <gtest/gtest.h>

using namespace prompts;

TEST(UserPrompts, NobodyAsksWithoutDialogs)
{
    struct Case { Buttons buttons; Answer answer; };
    const Case cases[] = {
        {Buttons::Ok, Answer::Ok},          {Buttons::OkCancel, Answer::Cancel},
        {Buttons::YesNo, Answer::No},       {Buttons::YesNoCancel, Answer::Cancel},
        {Buttons::RetryCancel, Answer::Cancel}, {Buttons::AbortRetryIgnore, Answer::Ignore},
    };
    for (const Case &c : cases)
        EXPECT_EQ(MsgBox(QStringLiteral("Overwrite?"), c.buttons), c.answer) << int(c.buttons);

    FileRequest open;
    open.kind = FileRequest::Open;
    EXPECT_FALSE(current().file(open).accepted);
}
