#include "Rename.h"

#include "SkinDocuments.h"
#include "WindowMessage.h"
#include "XmlTextConversion.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

// The page that opens the editor over one of its value buttons and hears what the editor posts.
class EditorPage : public QWidget {
public:
    struct Message {
        std::uint32_t message;
        std::uintptr_t wParam;
        std::intptr_t lParam;
    };
    std::vector<Message> messages;

    std::vector<Message> Received(std::uint32_t message) const {
        std::vector<Message> found;
        for (const auto& m : messages) {
            if (m.message == message) found.push_back(m);
        }
        return found;
    }

    bool event(QEvent* event) override {
        if (auto* message = platform::AsWindowMessage(event)) {
            messages.push_back({message->Message(), message->WParam(), message->LParam()});
            return true;
        }
        return QWidget::event(event);
    }
};

class RenameEditor : public ::testing::Test {
protected:
    void SetUp() override {
        skindocs::ResetSkinDocuments();
        page.setGeometry(100, 100, 300, 120);
        page.show();
    }
    void TearDown() override {
        delete editor;
        skindocs::ResetSkinDocuments();
    }

    // A numeric editor like the LED page's value editors, open over a 60 x 24 button.
    QLineEdit* OpenNumeric(int minimum, int maximum, const QString& text) {
        editor = new skin::CRename;
        editor->SetNumeric(true);
        editor->SetRange(minimum, maximum);
        editor->SetLengthLimit(3);
        editor->SetValueText(text);
        editor->SetPlacement(QRect(20, 30, 60, 24));
        editor->Create(&page);
        editor->BeginEdit(2, 4);
        return editor->findChild<QLineEdit*>();
    }

    void ClickElsewhere() { QTest::mouseClick(page.windowHandle(), Qt::LeftButton, {}, QPoint(250, 100)); }

    EditorPage page;
    skin::CRename* editor = nullptr;
};

TEST_F(RenameEditor, CommitClampsAndCancelKeepsTheText) {
    enum class Ending { Enter, ClickElsewhere, Escape };
    struct Case {
        int minimum;
        int maximum;
        const char* before;
        const char* typed;
        Ending ending;
        const char* after;
        std::intptr_t lParam;
    };
    const Case cases[] = {
        {0, 255, "", "999", Ending::Enter, "255", skin::kRenameCommitted},
        {45, 600, "", "20", Ending::ClickElsewhere, "45", skin::kRenameCommitted},
        {45, 600, "", "", Ending::Enter, "45", skin::kRenameCommitted},  // empty reads as 0
        {0, 255, "128", "77", Ending::Escape, "128", skin::kRenameCancelled},
        {0, 255, "128", "77", Ending::Enter, "77", skin::kRenameCommitted},  // typing replaces the value
        {0, 255, "", "1a2-b3 4", Ending::Enter, "123", skin::kRenameCommitted},  // digits only, 3 at most
    };
    for (const auto& c : cases) {
        const std::string shown = std::string(c.before) + " + " + c.typed;
        page.messages.clear();
        QLineEdit* edit = OpenNumeric(c.minimum, c.maximum, QString::fromLatin1(c.before));
        ASSERT_NE(edit, nullptr);
        QTest::keyClicks(edit, QString::fromLatin1(c.typed));
        switch (c.ending) {
            case Ending::Enter: QTest::keyClick(edit, Qt::Key_Return); break;
            case Ending::Escape: QTest::keyClick(edit, Qt::Key_Escape); break;
            case Ending::ClickElsewhere: ClickElsewhere(); break;
        }
        QApplication::processEvents();

        EXPECT_EQ(editor->GetValueText(), QString::fromLatin1(c.after)) << shown;
        EXPECT_FALSE(editor->IsEditing()) << shown;
        const auto done = page.Received(skin::kRenameDoneMessage);
        ASSERT_EQ(done.size(), 1u) << shown;
        EXPECT_EQ(done[0].wParam, reinterpret_cast<std::uintptr_t>(editor)) << shown;
        EXPECT_EQ(done[0].lParam, c.lParam) << shown;
        delete editor;
        editor = nullptr;
    }
}

TEST_F(RenameEditor, ChangesAreForwardedAsEditCommands) {
    QLineEdit* edit = OpenNumeric(0, 255, "");
    QTest::keyClicks(edit, "4x2");
    EXPECT_EQ(editor->GetValueText(), "42");
    QApplication::processEvents();
    const auto changes = page.Received(skin::kCommandMessage);
    ASSERT_EQ(changes.size(), 2u);
    for (const auto& change : changes) {
        EXPECT_EQ(change.wParam, 0x03000011u);
        EXPECT_EQ(change.lParam, reinterpret_cast<std::intptr_t>(editor));
    }
}

TEST_F(RenameEditor, SitsOverItsButtonInsideTheInsets) {
    QLineEdit* edit = OpenNumeric(0, 255, "7");
    EXPECT_EQ(editor->geometry(), QRect(page.mapToGlobal(QPoint(20, 30)), QSize(60, 24)));
    EXPECT_EQ(edit->geometry(), QRect(4, 2, 52, 20));
}

TEST_F(RenameEditor, FontComesFromTheStringDocument) {
    struct Case {
        const char* strings;
        int height;
        QString face;
    };
    const Case cases[] = {
        {"<STRINGS><GLOBAL><FONT>Noto Sans</FONT><FONT_SIZE>-20</FONT_SIZE></GLOBAL></STRINGS>", -20, "Noto Sans"},
        {"<STRINGS><GLOBAL></GLOBAL></STRINGS>", -14, ""},
    };
    for (const auto& c : cases) {
        skindocs::StringDocument().SetText(xml::Utf8ToUtf16(c.strings));
        const skin::CRename defaults;
        EXPECT_EQ(defaults.FontHeight(), c.height) << c.strings;
        EXPECT_EQ(defaults.FaceName(), c.face) << c.strings;
    }
}

TEST_F(RenameEditor, OnlyTheLatestEditorAnswersTheKeys) {
    QLineEdit* first = OpenNumeric(0, 255, "1");
    skin::CRename* firstEditor = editor;
    QLineEdit* second = OpenNumeric(0, 255, "2");
    EXPECT_EQ(skin::CRename::ActiveEditor(), editor);

    QTest::keyClick(first, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_TRUE(firstEditor->IsEditing());
    EXPECT_TRUE(page.Received(skin::kRenameDoneMessage).empty());

    QTest::keyClick(second, Qt::Key_Return);
    QApplication::processEvents();
    ASSERT_EQ(page.Received(skin::kRenameDoneMessage).size(), 1u);
    EXPECT_EQ(page.Received(skin::kRenameDoneMessage)[0].wParam, reinterpret_cast<std::uintptr_t>(editor));

    // A destroyed editor is no longer the active one.
    delete editor;
    editor = firstEditor;
    EXPECT_EQ(skin::CRename::ActiveEditor(), nullptr);
}

}  // namespace
