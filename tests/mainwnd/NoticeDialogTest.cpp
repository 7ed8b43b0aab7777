// Questions from another thread, shown in the window's own dialog and
// answered as a person does, with the mouse or the keyboard.
#include "mainwnd/CQX_DialogChannel.h"
#include "platform/UserNotice.h"
#include "tests/mainwnd/BrowsingFixture.h"
#include "tests/support/HeadlessGui.h"

#include <chrono>
#include <future>
#include <thread>

namespace {

constexpr CEGUI::String::value_type kEnter = 13;
constexpr CEGUI::String::value_type kEscape = 27;

class NoticeDialog : public BrowsingFixture
{
protected:
    std::future<MsgBoxResult> AskElsewhere(MsgBoxButtons buttons)
    {
        return std::async(std::launch::async, [buttons] {
            return CQX_DialogChannel::getInstance().Ask({"Quobrix现在有新版本提供下载", "Quobrix升级通知", buttons});
        });
    }
    // Idle calls until the dialog shows, at most 5 s.
    bool WaitForDialog()
    {
        for (int i = 0; i < 500 && !Window("NoticeDialog")->isVisible(); ++i) {
            m_wnd->OnIdle();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return Window("NoticeDialog")->isVisible();
    }
    static bool Answered(std::future<MsgBoxResult>& answer)
    {
        return answer.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    }
};

}

TEST_F(NoticeDialog, AQuestionShowsModallyWithItsCaptionTextAndButtons)
{
    std::future<MsgBoxResult> answer = AskElsewhere(MsgBoxButtons::OkCancel);
    ASSERT_TRUE(WaitForDialog());
    CEGUI::Window* dialog = Window("NoticeDialog");
    EXPECT_EQ(CEGuiCompat::FromGui(dialog->getText()), "Quobrix升级通知");
    EXPECT_EQ(TextOf("NoticeDialog/Text"), "Quobrix现在有新版本提供下载");
    EXPECT_TRUE(Window("NoticeDialog/Cancel")->isVisible());
    EXPECT_EQ(HeadlessGui::Context().getModalWindow(), dialog);
    EXPECT_EQ(answer.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout) << "it waits for the user";

    Click("NoticeDialog/Cancel");
    ASSERT_TRUE(Answered(answer));
    EXPECT_EQ(answer.get(), MsgBoxResult::Cancel);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(HeadlessGui::Context().getModalWindow(), nullptr);

    answer = AskElsewhere(MsgBoxButtons::Ok);
    ASSERT_TRUE(WaitForDialog());
    EXPECT_FALSE(Window("NoticeDialog/Cancel")->isVisible()) << "no choice, no Cancel";
    Click("NoticeDialog/Ok");
    ASSERT_TRUE(Answered(answer));
    EXPECT_EQ(answer.get(), MsgBoxResult::Ok);
}

TEST_F(NoticeDialog, EnterAnswersOkAndEscapeCancelsWhereThereIsAChoice)
{
    const std::pair<MsgBoxButtons, CEGUI::String::value_type> cases[] = {
        {MsgBoxButtons::OkCancel, kEnter}, {MsgBoxButtons::OkCancel, kEscape}, {MsgBoxButtons::Ok, kEscape}};
    const MsgBoxResult expected[] = {MsgBoxResult::Ok, MsgBoxResult::Cancel, MsgBoxResult::Ok};
    for (int i = 0; i < 3; ++i) {
        std::future<MsgBoxResult> answer = AskElsewhere(cases[i].first);
        ASSERT_TRUE(WaitForDialog());
        HeadlessGui::Context().injectChar(cases[i].second);
        ASSERT_TRUE(Answered(answer)) << i;
        EXPECT_EQ(answer.get(), expected[i]) << i;
    }
}

TEST_F(NoticeDialog, AWindowThatGoesAwayAnswersNothing)
{
    std::future<MsgBoxResult> answer = AskElsewhere(MsgBoxButtons::OkCancel);
    ASSERT_TRUE(WaitForDialog());
    CQX_DialogChannel::getInstance().Close();
    ASSERT_TRUE(Answered(answer));
    EXPECT_EQ(answer.get(), MsgBoxResult::Unshown);
    // Later questions do not wait either.
    std::future<MsgBoxResult> later = AskElsewhere(MsgBoxButtons::Ok);
    ASSERT_TRUE(Answered(later));
    EXPECT_EQ(later.get(), MsgBoxResult::Unshown);
}

TEST_F(NoticeDialog, MessageBoxesOfOtherThreadsBecomeQuestionsAndTheWindowsOwnDoNot)
{
    unsetenv("QUOBRIX_MESSAGEBOX_ANSWER");
    CQX_DialogChannel::RouteMessageBoxes(std::this_thread::get_id());
    std::future<MsgBoxResult> answer = std::async(std::launch::async, [] {
        return MessageBox::Show("很抱歉，您的内存较小，使用中可能会感觉较卡。", "Quobrix提示", MsgBoxButtons::Ok,
                                MsgBoxIcon::Information);
    });
    ASSERT_TRUE(WaitForDialog());
    EXPECT_EQ(CEGuiCompat::FromGui(Window("NoticeDialog")->getText()), "Quobrix提示");
    HeadlessGui::Context().injectChar(kEnter);
    ASSERT_TRUE(Answered(answer));
    EXPECT_EQ(answer.get(), MsgBoxResult::Ok);
    MessageBox::SetHandler(nullptr);
}

TEST_F(NoticeDialog, NoticesNobodyWaitsForFollowTheQuestionOnScreenInOrder)
{
    unsetenv("QUOBRIX_MESSAGEBOX_ANSWER");
    CQX_DialogChannel::RouteMessageBoxes(std::this_thread::get_id());
    std::future<MsgBoxResult> answer = AskElsewhere(MsgBoxButtons::OkCancel);
    ASSERT_TRUE(WaitForDialog());
    UserNotice::Post("无法保存文件 /a/favorite.xml");
    UserNotice::Post("文件夹 /b 无法写入");
    EXPECT_EQ(TextOf("NoticeDialog/Text"), "Quobrix现在有新版本提供下载") << "a notice never covers a question";

    Click("NoticeDialog/Cancel");
    ASSERT_TRUE(Answered(answer));
    EXPECT_EQ(answer.get(), MsgBoxResult::Cancel) << "the question keeps its own answer";
    ASSERT_TRUE(WaitForDialog());
    EXPECT_EQ(CEGuiCompat::FromGui(Window("NoticeDialog")->getText()), UserNotice::kCaption);
    EXPECT_EQ(TextOf("NoticeDialog/Text"), "无法保存文件 /a/favorite.xml");
    EXPECT_FALSE(Window("NoticeDialog/Cancel")->isVisible());
    HeadlessGui::Context().injectChar(kEnter);
    ASSERT_TRUE(WaitForDialog());
    EXPECT_EQ(TextOf("NoticeDialog/Text"), "文件夹 /b 无法写入");
    Click("NoticeDialog/Ok");
    m_wnd->OnIdle();
    EXPECT_FALSE(Window("NoticeDialog")->isVisible()) << "each notice is shown once";

    CQX_DialogChannel::getInstance().Close();
    UserNotice::Post("after the window");
    EXPECT_FALSE(CQX_DialogChannel::getInstance().TakeQuestion()) << "nothing is kept for a window that is gone";
    MessageBox::SetHandler(nullptr);
}
