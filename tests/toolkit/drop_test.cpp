// A drop simulated through the drop target that the window registered with
// OLE, with a CF_HDROP data object of the test's own.
// <windows.h> goes before the other platform headers.
// clang-format off
#include <windows.h>
#include <gtest/gtest.h>
#include <shlobj.h>
// clang-format on

#include <cstring>
#include <string>
#include <vector>

#include "runtime/text.h"
#include "tests/support/drop_data_win32.h"
#include "tests/toolkit/win32_support.h"
#include "toolkit/frame_win32.h"
#include "toolkit/message_numbers.h"
#include "toolkit/panel_win32.h"
#include "toolkit/text_ctrl_win32.h"

using namespace toolkit;
using toolkittest::AppTest;

namespace {

class DropTest : public AppTest {
protected:
    std::shared_ptr<wFrame> frame = std::make_shared<wFrame>(app, "drop", wPoint{120, 120}, wSize{418, 350});
    std::shared_ptr<wPanel> panel = std::make_shared<wPanel>(frame);
    std::shared_ptr<wTextCtrl> box = std::make_shared<wTextCtrl>(panel, wDefaultId, "drop here", wDefaultPosition,
                                                                 wSize{300, 200}, ES_MULTILINE | ES_READONLY | wTeRich);

    std::vector<std::vector<std::string>> drops;

    void bindLikeTheProgram() {
        bindHandler<wDragDropEvent>(*box, evtDragEnter, [](wDragDropEvent& event) { event.setEffect(dropEffectCopy); });
        bindHandler<wDragDropEvent>(*box, evtDrop,
                                    [this](wDragDropEvent& event) { drops.push_back(event.fileList()); });
    }

    // DragEnter, DragOver and Drop as OLE calls them; returns the effects.
    std::vector<DWORD> drag(IDataObject* data, DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK) {
        return testsupport::dragAndDrop(box->handle(), data, allowed);
    }
};

TEST_F(DropTest, DroppedPathsReachTheBoundHandlerInOrder) {
    box->setDropTarget(true);
    bindLikeTheProgram();
    const std::string longPath = "C:\\deep\\" + std::string(300, 'x') + "\\file.bin";  // beyond MAX_PATH
    const std::vector<std::string> paths{"C:\\music\\a song.mp3", "C:\\data\\r\u00e9sum\u00e9 \u65e5\u672c.pdf",
                                         longPath, "C:\\photos"};
    testsupport::DropData* data = testsupport::DropData::files(paths);
    EXPECT_EQ(drag(data), (std::vector<DWORD>{DROPEFFECT_COPY, DROPEFFECT_COPY, DROPEFFECT_COPY}));
    data->Release();
    ASSERT_EQ(drops.size(), 1u);
    EXPECT_EQ(drops.front(), paths);
}

TEST_F(DropTest, TextDropShowsTheCopyEffectButCarriesNoFiles) {
    box->setDropTarget(true);
    bindLikeTheProgram();
    testsupport::DropData* data = testsupport::DropData::text(L"selected text");
    EXPECT_EQ(drag(data).front(), DWORD(DROPEFFECT_COPY));
    data->Release();
    ASSERT_EQ(drops.size(), 1u);
    EXPECT_TRUE(drops.front().empty());
}

TEST_F(DropTest, WithoutAHandlerTheDragIsRefused) {
    box->setDropTarget(true);
    testsupport::DropData* data = testsupport::DropData::files({"C:\\a"});
    EXPECT_EQ(drag(data), (std::vector<DWORD>{DROPEFFECT_NONE, DROPEFFECT_NONE, DROPEFFECT_NONE}));
    data->Release();
}

TEST_F(DropTest, EffectIsLimitedToWhatTheSourceAllows) {
    box->setDropTarget(true);
    bindLikeTheProgram();
    testsupport::DropData* data = testsupport::DropData::files({"C:\\a"});
    EXPECT_EQ(drag(data, DROPEFFECT_MOVE).front(), DWORD(DROPEFFECT_NONE));
    data->Release();
}

TEST_F(DropTest, OnlyTheRegisteredWindowIsADropTarget) {
    box->setDropTarget(true);
    EXPECT_TRUE(box->isDropTarget());
    EXPECT_EQ(testsupport::registeredDropTarget(panel->handle()), nullptr);
    EXPECT_EQ(testsupport::registeredDropTarget(frame->handle()), nullptr);
    box->setDropTarget(false);
    EXPECT_EQ(testsupport::registeredDropTarget(box->handle()), nullptr);
}

TEST_F(DropTest, HandlerErrorStaysPendingAndTheDropIsRefused) {
    box->setDropTarget(true);
    bindHandler(*box, evtDragEnter, wPlainHandler([] { throw runtime::ValueError("refused"); }));
    testsupport::DropData* data = testsupport::DropData::files({"C:\\a"});
    IDropTarget* target = testsupport::registeredDropTarget(box->handle());
    ASSERT_NE(target, nullptr);
    DWORD effect = DROPEFFECT_COPY;
    EXPECT_NE(target->DragEnter(data, 0, POINTL{0, 0}, &effect), S_OK);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE));
    target->DragLeave();
    data->Release();
    EXPECT_THROW(app->dispatcher().rethrowPendingError(), runtime::ValueError);
}

TEST_F(DropTest, DestroyedWindowRevokesItsTarget) {
    box->setDropTarget(true);
    HWND handle = box->handle();
    frame->destroy();
    EXPECT_FALSE(box->isDropTarget());
    EXPECT_FALSE(IsWindow(handle));
}

}  // namespace
