// Checkboxes and choices: states written into bound variables, the
// notification rules, segment geometry with the extra width, and the keys.
#include "tests/support/GuiTestKit.h"

#include <vector>

namespace {

struct Seen {
    std::vector<int> values;
};

void RecordCheck(MWin *, _MWinButtonCallbackInfo *info, int, int, void *user)
{
    static_cast<Seen *>(user)->values.push_back(info->m_checkbox_state);
}

void RecordChoice(MWin *, _MWinButtonCallbackInfo *info, int, int, void *user)
{
    static_cast<Seen *>(user)->values.push_back(info->m_choice_sel);
}

class MWinCheckboxTest : public GuiTest {
protected:
    MWinWindow *window = nullptr;
    Seen seen;

    void SetUp() override
    {
        GuiTest::SetUp();
        window = AddWindow(AddCollection("Main"), "Win", 100, 100, 400, 200);
    }
};

TEST_F(MWinCheckboxTest, CheckboxStatesReachTheVariableAndTheCallback)
{
    MWinButton *box = window->AddButton("Box", MWBT_CHECKBOX, "White", "", 10, 10, 100, 20);
    ASSERT_TRUE(box->SetCallback(RecordCheck, 0, 0, &seen, 1));
    int bound = 7;
    box->RegisterIntVariable(&bound, 5);
    box->CheckboxSet(1, 0);
    EXPECT_EQ(bound, 1) << "no multiplier";
    EXPECT_TRUE(seen.values.empty());
    box->CheckboxSet(2, 1);
    EXPECT_TRUE(LogHasLine("Invalid check parameter: 2"));
    EXPECT_EQ(box->CheckboxGet(), 1);
    Click(150, 120);
    EXPECT_EQ(box->CheckboxGet(), 0) << "a press toggles";
    EXPECT_EQ(bound, 0);
    EXPECT_EQ(seen.values, std::vector<int>({0}));
}

TEST_F(MWinCheckboxTest, ChoiceSelectionNotifiesAsAskedAndKeysStepAndWrap)
{
    MWinButton *choice = window->AddButton("Pick", MWBT_CHOICE, "White", "", 10, 10, 300, 20);
    EXPECT_FALSE(choice->IsInteractive());
    EXPECT_EQ(choice->ChoiceGetSel(), -1);
    choice->ChoiceSetStrings(0, nullptr);
    EXPECT_TRUE(LogHasLine("invalid num 0 (ID: Pick)"));
    {
        // The strings are copied: the caller's array may go away.
        std::vector<std::string> names = {"Easy", "Normal", "Hard"};
        const char *strings[] = {names[0].c_str(), names[1].c_str(), names[2].c_str()};
        choice->ChoiceSetStrings(3, strings);
    }
    EXPECT_TRUE(choice->IsInteractive());
    ASSERT_TRUE(choice->SetCallback(RecordChoice, 0, 0, &seen, 1));
    char bound = 0;
    choice->ChoiceRegisterCharVariable(&bound, 0);

    choice->ChoiceSetSel(0, 2);
    EXPECT_TRUE(seen.values.empty()) << "notify 2 only on a change";
    choice->ChoiceSetSel(0, 1);
    EXPECT_EQ(seen.values.size(), 1u);
    choice->ChoiceSetSel(3, 1);
    EXPECT_TRUE(LogHasLine("invalid sel : 3 (m_id: Pick, entries = 3)"));

    MoveMouse(150, 120);
    struct Row {
        int key;
        int expected;
    } rows[] = {{39, 1}, {40, 2}, {39, 2}, {13, 0}, {37, 0}, {13, 1}, {38, 0}};
    for (const Row &r : rows) {
        Key(r.key);
        EXPECT_EQ(choice->ChoiceGetSel(), r.expected) << "key " << r.key;
    }
    EXPECT_EQ(bound, 0);

    // A click on the last third picks the last segment.
    Click(370, 120);
    EXPECT_EQ(choice->ChoiceGetSel(), 2);
    EXPECT_EQ(bound, 2);
}

TEST_F(MWinCheckboxTest, ChoiceSegmentsWithTheSelectedOneWidened)
{
    MWinButton *choice = window->AddButton("Pick", MWBT_CHOICE, "White", "", 0, 0, 400, 20);
    const char *strings[] = {"A", "B", "C"};
    choice->ChoiceSetStrings(3, strings);
    choice->ChoiceSetSelectionExtraWidthMultiplier(2);
    choice->ChoiceSetSel(1, 0);
    float x, w;
    choice->ChoiceGetSegment(0, &x, &w);
    EXPECT_FLOAT_EQ(w, 100);
    choice->ChoiceGetSegment(1, &x, &w);
    EXPECT_FLOAT_EQ(x, 200);
    EXPECT_FLOAT_EQ(w, 200) << "the selected segment is half the width";
    choice->ChoiceSetSelectionExtraWidthMultiplier(3);
    EXPECT_TRUE(LogHasLine("Not supported yet for other sizes (can be)."));

    MoveMouse(99, 110);
    EXPECT_EQ(choice->ChoiceGetItemFromMousePos(0), -1) << "left of the control";
    EXPECT_EQ(choice->ChoiceGetItemFromMousePos(1), 0);
    MoveMouse(350, 110);
    EXPECT_EQ(choice->ChoiceGetItemFromMousePos(0), 1);
}

} // namespace
