// The LED page against the virtual controller: one table of (control, action) -> (bytes of the working
// copy changed, commands the controller received, controls shown, hidden or disabled) over every
// effect's targets, the LED buttons' three mouse buttons, the old colour, the editors and both
// frequency panels; then the coalesced preview of a drag, the table generator's real save, the
// hidden enable buttons, and the page at every resolution.
#include "LedPageFixture.h"

#include "EffectParams.h"
#include "GTColorWellWnd.h"
#include "LEDConvDlg.h"
#include "LightingCodes.h"
#include "PopupWindows.h"
#include "Rename.h"
#include "SkinAttributes.h"
#include "SkinKeys.h"
#include "SkinPictures.h"
#include "XmlDocument.h"

#include <QDir>
#include <QLineEdit>

#include <functional>

namespace ledpage_test {
namespace {

namespace ei = config::effect_index;

// "base 24=0": a byte of the lighting section that changed, with its new value.
std::vector<std::string> ChangedBytes(const config::LightingSection& before, const config::LightingSection& after) {
    const auto* a = reinterpret_cast<const std::uint8_t*>(&before);
    const auto* b = reinterpret_cast<const std::uint8_t*>(&after);
    std::vector<std::string> changed;
    for (std::size_t i = 0; i < sizeof(config::LightingSection); ++i) {
        if (a[i] == b[i]) continue;
        const char* area = i < 4 ? "select" : i < 200 ? "base" : i < 396 ? "multi" : i < 400 ? "status" : "freq";
        const std::size_t offset = i < 4 ? i : i < 200 ? i - 4 : i < 396 ? i - 200 : i < 400 ? i - 396 : i - 400;
        changed.push_back(std::string(area) + " " + std::to_string(offset) + "=" + std::to_string(b[i]));
    }
    return changed;
}

// The commands, with SelectProfile's own polls left out.
std::vector<std::string> WithoutPolls(std::vector<std::string> commands) {
    std::erase(commands, std::string("GetProfile"));
    return commands;
}

using Names = std::vector<std::string>;
const Names kWriteMap = {"SetColorMode(1)", "SetLayerMap", "SetActiveEffect(224)"};
const Names kCustomizeSend = {"SetColorMode(0)", "SetLedColors", "SetEffectParams(0,4)"};
const Names kSave = {"SetMode(3)", "SelectProfile(0)", "SetProfileBlock(0)", "StoreSettings"};

Names Join(std::initializer_list<Names> parts) {
    Names all;
    for (const Names& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

class LedPageTest : public LedPageFixture {
public:
    void ExpectControls(const Names& shown, const Names& hidden, const Names& disabled) {
        for (const std::string& name : shown) {
            QWidget* w = Find(name.c_str());
            if (w) {
                EXPECT_TRUE(w->isVisibleTo(page_.get()) && w->isEnabled()) << name << " should be shown and enabled";
            }
        }
        for (const std::string& name : hidden) {
            QWidget* w = Find(name.c_str());
            if (w) {
                EXPECT_FALSE(w->isVisibleTo(page_.get())) << name << " should be hidden";
            }
        }
        for (const std::string& name : disabled) {
            QWidget* w = Find(name.c_str());
            if (w) {
                EXPECT_TRUE(w->isVisibleTo(page_.get()) && !w->isEnabled()) << name << " should be disabled";
            }
        }
    }

    // Opens the editor of a value button, types `text` and presses Enter.
    void Edit(const char* button, const char* text) {
        Click(button);
        skin::CRename* editor = skin::CRename::ActiveEditor();
        ASSERT_NE(editor, nullptr);
        auto* line = editor->findChild<QLineEdit*>();
        ASSERT_NE(line, nullptr);
        line->selectAll();
        QTest::keyClicks(line, QString::fromLatin1(text));
        QTest::keyClick(line, Qt::Key_Return);
        Settle();
    }

    void SetMultiLayer(int layer) {
        const auto& layers = config::CLedDlg::kMenuLayers;
        const auto item = std::find(layers.begin(), layers.end(), layer) - layers.begin();
        const std::string name = "LED_MULTI_MENU/BUTTON_MENU_" + std::to_string(item + 1);
        Click(name.c_str());
    }
};

struct Case {
    const char* name;
    int effect;                 // selected as the main window does, before the action
    int layer;                  // MULTILAYER: the layer chosen in its menu
    bool frequencyMode;         // the frequency button pressed before the action
    std::function<void(config::LightingSection&)> prepare;  // edits the record before the selection
    std::function<void(LedPageTest&)> action;
    Names changed;
    Names commands;
    Names shown = {};
    Names hidden = {};
    Names disabled = {};
};

auto Picked(std::uint32_t color) {
    return [color](LedPageTest& t) {
        t.page_->OnColorPicked(color);
        LedPageFixture::Settle();
    };
}
auto Slid(int id, int value) {
    return [id, value](LedPageTest& t) { t.Slide(id, value); };
}
auto Clicked(const char* name, Qt::MouseButton button = Qt::LeftButton) {
    return [name, button](LedPageTest& t) { t.Click(name, button); };
}
auto Edited(const char* name, const char* text) {
    return [name, text](LedPageTest& t) { t.Edit(name, text); };
}
auto SetLayerTypes(std::array<std::uint8_t, 4> types) {
    return [types](config::LightingSection& s) {
        for (std::size_t led = 0; led < 4; ++led) s.multiLayer.SetLayerType(led, types[led]);
    };
}

constexpr int kR = config::CLedDlg::kRedSliderId;
constexpr int kS = config::CLedDlg::kSpeedSliderId;
constexpr int kL = config::CLedDlg::kBrightnessSliderId;
const Names kLeds = {"BUTTON_LED_1", "BUTTON_LED_2", "BUTTON_LED_3", "BUTTON_LED_4"};
const Names kColourControls = {"EDIT_R", "EDIT_G", "EDIT_B", "SLIDER_R", "SLIDER_G", "SLIDER_B",
                               "BUTTON_SEL_BRIGHTNESS", "SLIDER_RGB", "BUTTON_COLOR"};

const std::vector<Case>& Cases() {
    static const std::vector<Case> cases = {
        // Selecting each effect: the preview, then Apply's send; the controls of its targets.
        {"select static", ei::OFF, 1, false, {}, Clicked("BUTTON_STATIC"), {"select 0=0"},
         {"SetMode(128)", "SetActiveEffect(0)", "SetEffectParams(0,0)"}, Join({kLeds, kColourControls, {"SLIDER_L"}}),
         {"LED_STAR_MENU", "LED_MULTI_MENU"}, {"SLIDER_S"}},
        {"select customize", ei::STATIC, 1, false, {}, Clicked("BUTTON_CUSTOMIZE"), {"select 0=1"},
         Join({{"SetMode(128)", "SetColorMode(0)", "SetLedColors", "SetActiveEffect(4)"}, kCustomizeSend}),
         Join({kLeds, kColourControls, {"SLIDER_L"}}), {}, {"SLIDER_S"}},
        {"select stars", ei::STATIC, 1, false, {}, Clicked("BUTTON_STARS"), {"select 0=2"},
         {"SetMode(128)", "SetActiveEffect(3)", "SetEffectParams(0,3)", "SetActiveEffect(3)"},
         Join({kLeds, kColourControls, {"SLIDER_S", "SLIDER_L", "LED_STAR_MENU"}}), {"LED_MULTI_MENU"}},
        {"select colour cycle", ei::STATIC, 1, false, {}, Clicked("BUTTON_COLOR_CYCLE"), {"select 0=3"},
         {"SetMode(128)", "SetActiveEffect(2)", "SetEffectParams(0,2)"}, {"SLIDER_S", "SLIDER_L"}, kLeds,
         kColourControls},
        {"select breath", ei::STATIC, 1, false, {}, Clicked("BUTTON_BREATHING"), {"select 0=4"},
         {"SetMode(128)", "SetActiveEffect(1)", "SetEffectParams(0,1)"},
         Join({kLeds, kColourControls, {"SLIDER_S", "SLIDER_L"}})},
        {"select multi-layer", ei::STATIC, 1, false, SetLayerTypes({1, 3, 0, 0}), Clicked("BUTTON_MULTI_LAYER"),
         {"select 0=5"},
         Join({{"SetMode(128)", "SetActiveEffect(224)", "SetColorMode(1)", "SetEffectParams(1,0)",
                "SetEffectParams(1,3)", "SetLayerMap", "SetActiveEffect(224)"}}),
         Join({kLeds, kColourControls, {"SLIDER_L", "LED_MULTI_MENU"}}), {"LED_MULTI_STAR_MENU", "LED_STAR_MENU"},
         {"SLIDER_S"}},
        {"select off", ei::STATIC, 1, false, {}, Clicked("BUTTON_TURN_OFF"), {"select 0=6"},
         {"SetMode(128)", "SetActiveEffect(254)"}, {}, kLeds, Join({kColourControls, {"SLIDER_S", "SLIDER_L"}})},

        // Colour, speed and brightness targets of each effect.
        {"static colour", ei::STATIC, 1, false, {}, Picked(0x00FF00), {"base 24=0", "base 26=0"},
         {"SetEffectParams(0,0)"}},
        {"static brightness", ei::STATIC, 1, false, {}, Slid(kL, 1), {"base 28=1"}, {"SetEffectParams(0,0)"}},
        {"static has no speed", ei::STATIC, 1, false, {}, Slid(kS, 3), {}, {}},
        {"static red slider stores only", ei::STATIC, 1, false, {}, Slid(kR, 10), {"base 24=10"}, {}},
        {"stars sky colour", ei::STAR_EFFECT, 1, false, [](auto& s) { s.baseLayer.bytes[77] = 0; s.baseLayer.bytes[78] = 1; },
         Picked(0x0000FF), {"base 84=255"}, {"SetEffectParams(0,3)", "SetActiveEffect(3)"}},
        {"stars star colour", ei::STAR_EFFECT, 1, false, {}, Picked(0x000080), {"base 80=128", "base 81=0", "base 82=0"},
         {"SetEffectParams(0,3)", "SetActiveEffect(3)"}},
        {"stars speed", ei::STAR_EFFECT, 1, false, {}, Slid(kS, 0), {"base 88=0"},
         {"SetEffectParams(0,3)", "SetActiveEffect(3)"}},
        {"stars brightness", ei::STAR_EFFECT, 1, false, {}, Slid(kL, 1), {"base 89=1"},
         {"SetEffectParams(0,3)", "SetActiveEffect(3)"}},
        {"colour cycle speed", ei::COLOR_CYCLE, 1, false, {}, Slid(kS, 4), {"base 109=4"}, {"SetEffectParams(0,2)"}},
        {"colour cycle brightness", ei::COLOR_CYCLE, 1, false, {}, Slid(kL, 0), {"base 110=0"},
         {"SetEffectParams(0,2)"}},
        {"colour cycle has no colour", ei::COLOR_CYCLE, 1, false, {}, Slid(kR, 0), {}, {}},
        {"breath colour", ei::BREATH, 1, false, {}, Picked(0x000000), {"base 116=0", "base 117=0", "base 118=0"},
         {"SetEffectParams(0,1)"}},
        {"breath speed", ei::BREATH, 1, false, {}, Slid(kS, 4), {"base 120=4"}, {"SetEffectParams(0,1)"}},
        {"breath brightness", ei::BREATH, 1, false, {}, Slid(kL, 0), {"base 121=0"}, {"SetEffectParams(0,1)"}},
        {"customize colour is the current colour", ei::CUSTOMIZE, 1, false, {}, Picked(0x00FF00), {}, {}},
        {"customize brightness", ei::CUSTOMIZE, 1, false, {}, Slid(kL, 0), {"base 190=0"}, kCustomizeSend},
        {"off has no targets", ei::OFF, 1, false, {}, Slid(kL, 0), {}, {}},
        {"layer static colour", ei::MULTILAYER, 1, false, SetLayerTypes({1, 0, 0, 0}), Picked(0xFF0000),
         {"multi 24=0", "multi 25=0"}, Join({{"SetColorMode(1)", "SetEffectParams(1,0)"}, {"SetLayerMap", "SetActiveEffect(224)"}})},
        {"layer static brightness", ei::MULTILAYER, 1, false, {}, Slid(kL, 0), {"multi 28=0"}, kWriteMap},
        {"layer stars speed", ei::MULTILAYER, 3, false, {}, Slid(kS, 1), {"multi 88=1"}, kWriteMap,
         {"LED_MULTI_STAR_MENU", "SLIDER_S", "SLIDER_L"}},
        {"layer stars colour", ei::MULTILAYER, 3, false, {}, Picked(0x000001), {"multi 80=1", "multi 81=0", "multi 82=0"},
         kWriteMap},
        {"layer colour cycle speed", ei::MULTILAYER, 4, false, {}, Slid(kS, 3), {"multi 109=3"}, kWriteMap,
         {"SLIDER_S", "SLIDER_L"}, {"LED_MULTI_STAR_MENU"}, kColourControls},
        {"layer breath brightness", ei::MULTILAYER, 5, false, {}, Slid(kL, 1), {"multi 121=1"}, kWriteMap},
        {"layer none has no targets", ei::MULTILAYER, 0, false, {}, Slid(kL, 1), {}, {}, {}, {},
         Join({kColourControls, {"SLIDER_S", "SLIDER_L"}})},

        // LED buttons: left, right and middle presses.
        {"customize LED click sets the slot", ei::CUSTOMIZE, 1, false,
         [](auto& s) { s.baseLayer.bytes[181] = 0; }, Clicked("BUTTON_LED_2"), {"base 146=255", "base 181=1"},
         kCustomizeSend},
        {"customize LED right press clears the slot", ei::CUSTOMIZE, 1, false,
         [](auto& s) { s.baseLayer.SetColor(config::EffectLayer::CustomizeColor(0), 0x123456); },
         Clicked("BUTTON_LED_1", Qt::RightButton), {"base 140=0", "base 141=0", "base 142=0"}, kCustomizeSend},
        {"customize LED middle press takes its colour", ei::CUSTOMIZE, 1, false,
         [](auto& s) { s.baseLayer.SetColor(config::EffectLayer::CustomizeColor(2), 0x00AA00); },
         Clicked("BUTTON_LED_3", Qt::MiddleButton), {}, kCustomizeSend},
        {"layer LED click sets its layer", ei::MULTILAYER, 1, false, {}, Clicked("BUTTON_LED_2"), {"multi 11=1"},
         {"SetColorMode(1)", "SetEffectParams(1,0)", "SetLayerMap", "SetActiveEffect(224)"}},
        {"layer LED right press clears its layer", ei::MULTILAYER, 3, false, SetLayerTypes({3, 0, 0, 0}),
         Clicked("BUTTON_LED_1", Qt::RightButton), {"multi 10=0"}, kWriteMap},
        {"layer LED middle press clears its layer", ei::MULTILAYER, 5, false, SetLayerTypes({0, 0, 0, 5}),
         Clicked("BUTTON_LED_4", Qt::MiddleButton), {"multi 13=0"}, kWriteMap},
        {"layer none LED click", ei::MULTILAYER, 0, false, SetLayerTypes({0, 0, 1, 0}), Clicked("BUTTON_LED_3"),
         {"multi 12=0"}, kWriteMap},
        {"static LED click changes nothing", ei::STATIC, 1, false, {}, Clicked("BUTTON_LED_1"), {},
         {"SetEffectParams(0,0)"}},

        // Old colour and the value editors.
        {"old colour restores the applied colour", ei::STATIC, 1, false,
         [](auto& s) { s.baseLayer.SetColor(config::layer_field::STATIC_COLOR, 0x010203); },
         Clicked("BUTTON_OLD_COLOR"), {"base 24=255", "base 25=255", "base 26=255"}, {"SetEffectParams(0,0)"}},
        {"old colour without a field", ei::MULTILAYER, 4, false, {}, Clicked("BUTTON_OLD_COLOR"), {}, kWriteMap},
        {"red editor clamps to 255", ei::STATIC, 1, false,
         [](auto& s) { s.baseLayer.SetColor(config::layer_field::STATIC_COLOR, 0x000000); }, Edited("EDIT_R", "999"),
         {"base 24=255"}, {"SetMode(128)", "SetActiveEffect(0)", "SetEffectParams(0,0)"}},
        {"blue editor", ei::BREATH, 1, false, {}, Edited("EDIT_B", "17"), {"base 118=17"},
         {"SetMode(128)", "SetActiveEffect(1)", "SetEffectParams(0,1)"}},

        // Frequency mode, both schemes.
        {"frequency mode", ei::STATIC, 1, false, {}, Clicked("BUTTON_FREQUENCE"), {}, {},
         {"LED_SYNC1/BUTTON_M1", "LED_SYNC1/BUTTON_SAVE", "LED_MULTI_MIRAGE_MENU"},
         // The applied colour and the new colour mean nothing for frequencies.
         Join({kLeds, kColourControls, {"SLIDER_S", "SLIDER_L", "LED_SYNC2/BUTTON_M1", "BUTTON_OLD_COLOR"}}),
         {"LED_SYNC1/EDIT_HZ", "LED_SYNC1/SLIDER_HZ"}},
        {"single preset", ei::STATIC, 1, true, {}, Clicked("LED_SYNC1/BUTTON_M2"), {"freq 0=8"}, {},
         {"LED_SYNC1/EDIT_HZ", "LED_SYNC1/SLIDER_HZ"}},
        {"single slider", ei::STATIC, 1, true, [](auto& s) { config::SetPreset(s.frequency, config::FrequencyScheme::Single, 1); },
         Slid(config::CLedDlg::kSingleHzSliderId, 300), {"freq 4=44", "freq 5=1"}, {}},
        {"single editor clamps to 45", ei::STATIC, 1, true,
         [](auto& s) { config::SetPreset(s.frequency, config::FrequencyScheme::Single, 0); },
         Edited("LED_SYNC1/EDIT_HZ", "20"), {"freq 2=45"}, {}},
        {"single reset", ei::STATIC, 1, true,
         [](auto& s) {
             config::SetPreset(s.frequency, config::FrequencyScheme::Single, 2);
             s.frequency.SetFrequency(config::FrequencyBlock::Row::Single, 2, 400);
         },
         Clicked("LED_SYNC1/BUTTON_RESET"), {"freq 0=24", "freq 6=220", "freq 7=0"}, {}, {},
         {}, {"LED_SYNC1/EDIT_HZ"}},
        {"single save", ei::STATIC, 1, true, {}, Clicked("LED_SYNC1/BUTTON_SAVE"), {"freq 0=27"}, kSave},
        {"per-colour scheme", ei::STATIC, 1, true, {}, Clicked("LED_MULTI_MIRAGE_MENU/BUTTON_MENU_2"), {"freq 0=28"},
         {}, {"LED_SYNC2/BUTTON_M1", "LED_SYNC2/BUTTON_RESET"}, {"LED_SYNC1/BUTTON_M1", "BUTTON_LED_1"},
         {"LED_SYNC2/EDIT_HZ_R", "LED_SYNC2/SLIDER_HZ_B"}},
        {"per-colour preset", ei::STATIC, 1, true,
         [](auto& s) { config::SetScheme(s.frequency, config::FrequencyScheme::PerColour); },
         Clicked("LED_SYNC2/BUTTON_M3"), {"freq 1=2"}, {}, {"LED_SYNC2/EDIT_HZ", "LED_SYNC2/SLIDER_HZ_G"}},
        {"per-colour green slider", ei::STATIC, 1, true,
         [](auto& s) {
             config::SetScheme(s.frequency, config::FrequencyScheme::PerColour);
             config::SetPreset(s.frequency, config::FrequencyScheme::PerColour, 0);
         },
         Slid(config::CLedDlg::kMainHzSliderId + 2, 500), {"freq 20=244", "freq 21=1"}, {}},
        {"per-colour reset", ei::STATIC, 1, true,
         [](auto& s) {
             config::SetScheme(s.frequency, config::FrequencyScheme::PerColour);
             config::SetPreset(s.frequency, config::FrequencyScheme::PerColour, 1);
             s.frequency.SetFrequency(config::FrequencyBlock::Row::Blue, 0, 50);
         },
         Clicked("LED_SYNC2/BUTTON_RESET"), {"freq 1=3", "freq 26=90"}, {}},
        {"per-colour save", ei::STATIC, 1, true,
         [](auto& s) {
             config::SetScheme(s.frequency, config::FrequencyScheme::PerColour);
             config::SetPreset(s.frequency, config::FrequencyScheme::PerColour, 1);
             s.frequency.SetFrequency(config::FrequencyBlock::Row::Red, 1, 300);
         },
         Clicked("LED_SYNC2/BUTTON_SAVE"), {"freq 0=31"}, kSave},
    };
    return cases;
}

TEST_F(LedPageTest, ControlsEditTheirBytesAndSendTheirCommands) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        working_.profiles[0].Reset();
        if (c.prepare) c.prepare(Working());
        saved_ = working_;
        saved_.profiles[0].lighting.baseLayer.SetColor(config::layer_field::STATIC_COLOR, 0xFFFFFF);
        config::CLedDlg& page = MakePage();
        page.SelectEffect(c.effect);
        if (c.effect == ei::MULTILAYER) SetMultiLayer(c.layer);
        if (c.frequencyMode) Click("BUTTON_FREQUENCE");
        Settle();
        const config::LightingSection before = Working();
        ClearWrites();
        c.action(*this);
        EXPECT_EQ(ChangedBytes(before, Working()), c.changed);
        EXPECT_EQ(WithoutPolls(Commands()), c.commands);
        ExpectControls(c.shown, c.hidden, c.disabled);
        for (const char* enable : {"BUTTON_EFF_ENABLE_1", "BUTTON_EFF_ENABLE_7"}) {
            if (QWidget* w = Find(enable)) {
                EXPECT_FALSE(w->isVisibleTo(page_.get())) << enable;
            }
        }
    }
}

TEST_F(LedPageTest, BreathSpeedFourReachesTheControllerAsItsRawValue) {
    MakePage().SelectEffect(ei::BREATH);
    Slide(config::CLedDlg::kSpeedSliderId, 4);
    const auto entry = LiveProfile().effectParams[0][config::effect_code::BREATH];
    EXPECT_EQ(entry[config::kEntrySpeed], 38);
    EXPECT_EQ(Working().baseLayer[config::layer_field::BREATH_SPEED], 4);
}

TEST_F(LedPageTest, CustomizeColourPickedAndTakenBackFromAnLed) {
    config::CLedDlg& page = MakePage();
    page.SelectEffect(ei::CUSTOMIZE);
    EXPECT_EQ(page.CurrentColor(), config::CLedDlg::kInitialColor);
    page.OnColorPicked(0x00FF00);
    EXPECT_EQ(page.CurrentColor(), 0x00FF00u);
    Click("BUTTON_LED_4");
    EXPECT_EQ(Working().baseLayer.Color(config::EffectLayer::CustomizeColor(3)), 0x00FF00u);
    EXPECT_EQ(LiveProfile().ledColors[0][10], 0xFF);  // LED 4's green
    Working().baseLayer.SetColor(config::EffectLayer::CustomizeColor(0), 0x0A0B0C);
    Click("BUTTON_LED_1", Qt::MiddleButton);
    EXPECT_EQ(page.CurrentColor(), 0x0A0B0Cu);
    EXPECT_EQ(Find<skin::CBitmapBtn>("EDIT_G")->GetCaption(), QStringLiteral("11"));
}

TEST_F(LedPageTest, PerLedShowsALitLedsColourUntilThePersonChoosesOne) {
    using config::EffectLayer;
    struct Case {
        const char* name;
        std::array<std::uint32_t, 4> leds;  // the per-LED colours as read from the controller (0x00BBGGRR)
        std::function<void(LedPageTest&)> chosen;  // what the person does before Per LED is shown again
        std::uint32_t shown;
    };
    const Case cases[] = {
        {"first lit LED", {0, 0x0080FF, 0x00FF00, 0}, {}, 0x0080FF},
        {"all dark keeps the page's colour", {0, 0, 0, 0}, {}, config::CLedDlg::kInitialColor},
        {"a picked colour stays", {0x0080FF, 0, 0, 0}, Picked(0x123456), 0x123456},
        {"a slid channel stays", {0x0080FF, 0, 0, 0}, Slid(kR, 7), 0x008007},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        working_.profiles[0].Reset();
        for (std::size_t led = 0; led < 4; ++led) Working().baseLayer.SetColor(EffectLayer::CustomizeColor(led), c.leds[led]);
        saved_ = working_;
        config::CLedDlg& page = MakePage();
        page.SelectEffect(ei::CUSTOMIZE);
        if (c.chosen) c.chosen(*this);
        page.SelectEffect(ei::STATIC);
        page.SelectEffect(ei::CUSTOMIZE);
        Settle();
        EXPECT_EQ(page.CurrentColor(), c.shown);
        // The colour well ("New") shows it too.
        auto* well = Find<colorpicker::GTColorWellWnd>("BUTTON_COLOR");
        ASSERT_NE(well, nullptr);
        EXPECT_EQ(well->Color(), c.shown);
    }
}

TEST_F(LedPageTest, FrequencyPreviewAndSaveHandTheTablesTheSixFrequencies) {
    MakePage();
    Click("BUTTON_FREQUENCE");
    ASSERT_TRUE(config_test::WaitUntil([&] { return !tables_->calls.empty(); }));
    EXPECT_EQ(tables_->calls.back(), (std::array<int, 6>{1000, 1000, 1000, 1000, 1000, 1000}));
    Click("LED_SYNC1/BUTTON_M2");
    Slide(config::CLedDlg::kSingleHzSliderId, 150);
    Slide(config::CLedDlg::kSingleHzSliderId, 160);
    tables_->calls.clear();
    ASSERT_TRUE(config_test::WaitUntil([&] { return !tables_->calls.empty(); }));
    EXPECT_EQ(tables_->calls, (std::vector<std::array<int, 6>>{{160, 160, 160, 160, 160, 160}}));

    Click("LED_MULTI_MIRAGE_MENU/BUTTON_MENU_2");
    Click("LED_SYNC2/BUTTON_M2");
    Slide(config::CLedDlg::kMainHzSliderId + 3, 480);  // blue of preset 1
    const std::uint8_t before = Working().frequency.bytes[0];
    Click("LED_SYNC2/BUTTON_SAVE");
    ASSERT_FALSE(tables_->calls.empty());
    EXPECT_EQ(tables_->calls.back(), (std::array<int, 6>{135, 135, 135, 135, 135, 480}));
    const std::size_t calls = tables_->calls.size();
    EXPECT_EQ(Working().frequency.bytes[0], before | 3);
    EXPECT_EQ(Saved().frequency.bytes[0], before);  // the saved copy keeps the block from before the save
    EXPECT_EQ(LiveProfile().block[0], before | 3);
    // The save stopped the preview: nothing more follows it.
    QTest::qWait(3 * config::CLedDlg::kTimerIntervalMs);
    EXPECT_EQ(tables_->calls.size(), calls);
}

TEST_F(LedPageTest, SaveSendsThePwmSettingsThroughTheTableGenerator) {
    config::CLedDlg& page = MakePage(kResolution, false);
    // The hidden dialog is made when tables are first sent, not with the page.
    EXPECT_EQ(page.TableDialog(), nullptr);
    EXPECT_EQ(page.findChild<config::CLEDConvDlg*>(), nullptr);
    Click("BUTTON_FREQUENCE");
    Click("LED_SYNC1/BUTTON_M1");
    const simulator::ControllerState before = controller_->state();
    ClearWrites();
    Click("LED_SYNC1/BUTTON_SAVE");
    const Names commands = WithoutPolls(Commands());
    EXPECT_EQ(commands.front(), "SetMode(3)");
    EXPECT_NE(std::find(commands.begin(), commands.end(), "SetPwmConfig"), commands.end());
    EXPECT_NE(std::find(commands.begin(), commands.end(), "SetConversionTable"), commands.end());
    EXPECT_EQ(Names(commands.end() - 2, commands.end()), (Names{"SetProfileBlock(0)", "StoreSettings"}));
    const simulator::ControllerState after = controller_->state();
    EXPECT_NE(after.live.pwmConfig, before.live.pwmConfig);
    EXPECT_EQ(after.stored.profiles[0].block[0], 0x03);  // single scheme, preset 0, marked valid
    // The dialog shows the frequencies it was handed, and stays hidden.
    ASSERT_NE(page.TableDialog(), nullptr);
    EXPECT_EQ(page.findChild<config::CLEDConvDlg*>(), page.TableDialog());
    auto* first = page.TableDialog()->Control(config::ledconv::kFrequencyFirst);
    ASSERT_NE(qobject_cast<QLineEdit*>(first), nullptr);
    EXPECT_EQ(qobject_cast<QLineEdit*>(first)->text(), QStringLiteral("90"));
    EXPECT_FALSE(page.TableDialog()->isVisible());
}

// A drag's notifications queue up behind the exchanges; the preview sends once for all queued values,
// and the controller ends on the last one.
TEST_F(LedPageTest, QueuedDragNotificationsCoalesceIntoOneSendOfTheLastValue) {
    MakePage().SelectEffect(ei::BREATH);
    ClearWrites();
    const std::vector<int> drag = {0, 1, 2, 3, 4, 3, 2, 1, 0, 1, 2, 3, 4, 3, 2};
    for (int i = 0; i < 40; ++i) {
        platform::PostWindowMessage(page_.get(), skin::kSliderValueMessage,
                                    static_cast<std::uintptr_t>(drag[static_cast<std::size_t>(i) % drag.size()]),
                                    config::CLedDlg::kSpeedSliderId);
    }
    platform::PostWindowMessage(page_.get(), skin::kSliderValueMessage, 1, config::CLedDlg::kSpeedSliderId);
    Settle();
    EXPECT_EQ(Commands(), (Names{"SetEffectParams(0,1)"}));
    EXPECT_EQ(Working().baseLayer[config::layer_field::BREATH_SPEED], 1);
    EXPECT_EQ(LiveProfile().effectParams[0][config::effect_code::BREATH][config::kEntrySpeed],
              config::RawSpeed(config::effect_code::BREATH, 1));
    EXPECT_EQ(Find<skin::CPngHSliderBar>("SLIDER_S")->Position(), 1);

    // A click after a queued notification sends at once, and the queued send is not repeated.
    ClearWrites();
    platform::PostWindowMessage(page_.get(), skin::kSliderValueMessage, 3, config::CLedDlg::kBrightnessSliderId);
    QCoreApplication::sendPostedEvents(page_.get());  // the notification, not yet the flush
    Click("BUTTON_LED_1");
    EXPECT_EQ(Commands(), (Names{"SetEffectParams(0,1)"}));
}

// Timer 65537: the LEDs of the colour-cycle layer show the animation, and stand still while a pop-up
// is open; the other LEDs show nothing.
TEST_F(LedPageTest, ColourCycleLayerAnimatesItsLedsUnlessAPopupIsOpen) {
    Working().multiLayer.SetLayerType(0, config::layer_type::COLOR_CYCLE);
    MakePage().SelectEffect(ei::MULTILAYER);
    SetMultiLayer(config::layer_type::COLOR_CYCLE);
    auto centre = [this](const char* name) {
        QWidget* led = Find(name);
        return led->grab().toImage().pixel(led->width() / 2, led->height() * 3 / 8);
    };
    const QRgb first = centre("BUTTON_LED_1");
    const QRgb other = centre("BUTTON_LED_2");
    QTest::qWait(4 * config::CLedDlg::kTimerIntervalMs);
    EXPECT_NE(centre("BUTTON_LED_1"), first);
    EXPECT_EQ(centre("BUTTON_LED_2"), other);

    config::g_popupOpen = true;
    const QRgb held = centre("BUTTON_LED_1");
    QTest::qWait(4 * config::CLedDlg::kTimerIntervalMs);
    EXPECT_EQ(centre("BUTTON_LED_1"), held);
    config::g_popupOpen = false;
}

TEST_F(LedPageTest, EnableButtonsMirrorTheEnabledBytesAndStayHidden) {
    Working().baseLayer[config::layer_field::OFF_ENABLED] = 0;
    Working().multiLayer[config::layer_field::LAYER_ENABLED] = 0;
    config::CLedDlg& page = MakePage();
    for (int effect = 0; effect < 7; ++effect) page.SelectEffect(effect);
    Click("BUTTON_FREQUENCE");
    for (int i = 1; i <= 7; ++i) {
        const std::string name = "BUTTON_EFF_ENABLE_" + std::to_string(i);
        auto* button = Find<skin::CBitmapBtn>(name.c_str());
        ASSERT_NE(button, nullptr);
        EXPECT_FALSE(button->isVisibleTo(page_.get())) << name;
        EXPECT_EQ(button->IsChecked(), i < 6) << name;
    }
}

TEST_F(LedPageTest, WithoutAControllerTheRecordIsEditedAndNothingIsSent) {
    controller_->unplug();
    ASSERT_TRUE(config_test::WaitUntil([&] { return !link_->IsOpen(); }));
    config::CLedDlg& page = MakePage();
    ClearWrites();
    page.SelectEffect(ei::STAR_EFFECT);
    Slide(config::CLedDlg::kSpeedSliderId, 0);
    EXPECT_EQ(Working().baseLayer[config::layer_field::STAR_EFFECT_SPEED], 0);
    EXPECT_EQ(Working().SelectEffect(), ei::STAR_EFFECT);
    EXPECT_TRUE(Writes().empty());
}

TEST_F(LedPageTest, AnIndexOutsideTheListSelectsNothing) {
    config::CLedDlg& page = MakePage();
    ClearWrites();
    page.SelectEffect(255);
    EXPECT_TRUE(Writes().empty());
    for (const char* button : {"BUTTON_STATIC", "BUTTON_TURN_OFF"}) {
        EXPECT_FALSE(Find<skin::CBitmapBtn>(button)->IsChecked()) << button;
    }
    ExpectControls({}, kLeds, Join({kColourControls, {"SLIDER_S", "SLIDER_L"}}));
}

// The page at each resolution: every widget of the skin table inside the page, the effect list in the
// string document's language; with LEDPAGE_SCREENSHOTS set, a picture of a few effects in that folder.
TEST_F(LedPageTest, PageAtEveryResolution) {
    const char* shots = std::getenv("LEDPAGE_SCREENSHOTS");
    for (const std::u16string_view folder : skindocs::kResolutionFolders) {
        const std::string resolution(folder.begin(), folder.end());
        SCOPED_TRACE(resolution);
        working_.profiles[0].Reset();
        config::CLedDlg& page = MakePage(resolution.c_str());
        EXPECT_FALSE(page.size().isEmpty());
        EXPECT_EQ(page.FirstLedButton(), Find("BUTTON_LED_1"));
        ASSERT_EQ(page.EffectList().ItemCount(), 7);
        EXPECT_EQ(page.EffectList().ItemAt(3)->caption, u"Colour cycle");
        const QRect area = page.rect();
        for (QWidget* widget : page.findChildren<QWidget*>()) {
            if (widget->objectName().isEmpty() || widget->objectName().startsWith(QStringLiteral("BUTTON_EFF_ENABLE"))) {
                continue;
            }
            const QRect placed(widget->mapTo(&page, QPoint(0, 0)), widget->size());
            EXPECT_FALSE(placed.isEmpty()) << widget->objectName().toStdString();
            EXPECT_TRUE(area.contains(placed)) << widget->objectName().toStdString();
        }
        const std::vector<std::pair<const char*, std::function<void()>>> views = {
            {"static", [&] { page.SelectEffect(ei::STATIC); }},
            {"customize", [&] { page.SelectEffect(ei::CUSTOMIZE); }},
            {"stars", [&] { page.SelectEffect(ei::STAR_EFFECT); }},
            {"colourcycle", [&] { page.SelectEffect(ei::COLOR_CYCLE); }},
            {"multilayer", [&] { page.SelectEffect(ei::MULTILAYER); SetMultiLayer(3); }},
            {"frequency1", [&] { page.SetFrequencyMode(true); Click("LED_SYNC1/BUTTON_M2"); }},
            {"frequency2", [&] { Click("LED_MULTI_MIRAGE_MENU/BUTTON_MENU_2"); Click("LED_SYNC2/BUTTON_M1"); }},
        };
        for (const auto& [name, show] : views) {
            show();
            Settle();
            if (shots != nullptr) {
                QDir().mkpath(QString::fromLocal8Bit(shots));
                const QString file = QStringLiteral("%1/led_%2_%3.png")
                                         .arg(QString::fromLocal8Bit(shots), QString::fromStdString(resolution),
                                              QString::fromLatin1(name));
                EXPECT_TRUE(page.grab().save(file)) << file.toStdString();
            }
        }
    }
}

// The frequency panels and the menus are hidden at start and read their hover, pressed and disabled
// pictures when a button first shows them: each look is the button's rectangle of that state's picture.
TEST_F(LedPageTest, PanelAndMenuButtonsShowEachLookFromItsStatePicture) {
    namespace keys = skindocs::keys;
    config::CLedDlg& page = MakePage();
    page.SetFrequencyMode(true);
    Settle();
    QApplication::setActiveWindow(host_.get());
    const QString folder = skin::PageImageFolder(QString::fromLatin1(kResolution));
    const QString menuFolder = folder + skin::ToQString(skindocs::kMenuFolder) + u'/';
    struct Case {
        const char* button;
        std::u16string_view section;
        QString folder;
    };
    const Case buttons[] = {
        {"LED_SYNC1/BUTTON_M1", keys::kLedSync1, folder},
        {"LED_MULTI_MIRAGE_MENU/BUTTON_MENU_2", keys::kLedMultiMirageMenu, menuFolder},
    };
    struct State {
        std::u16string_view picture;
        std::function<void(QWidget&)> enter;
        std::function<void(QWidget&)> leave;
    };
    const State states[] = {
        {keys::kOver,
         [](QWidget& b) {
             QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(b.mapToGlobal(QPoint(1, 1))));
             QApplication::sendEvent(&b, &enter);
         },
         [](QWidget& b) {
             QEvent leave(QEvent::Leave);
             QApplication::sendEvent(&b, &leave);
         }},
        {keys::kDown, [](QWidget& b) { static_cast<QAbstractButton&>(b).setDown(true); },
         [](QWidget& b) { static_cast<QAbstractButton&>(b).setDown(false); }},
        {keys::kDisable, [](QWidget& b) { b.setEnabled(false); }, [](QWidget& b) { b.setEnabled(true); }},
    };
    for (const Case& c : buttons) {
        QWidget* button = Find(c.button);
        ASSERT_NE(button, nullptr);
        const QPoint inside(4, button->height() / 2);
        for (const State& s : states) {
            const QString name = skin::ToQString(xml::LookupValue(skindocs::SkinDocument(), c.section, s.picture));
            QImage picture;
            ASSERT_EQ(skin::LoadPictureFile(c.folder + name, picture), 0) << name.toStdString();
            s.enter(*button);
            EXPECT_EQ(button->grab().toImage().pixelColor(inside), picture.pixelColor(button->pos() + inside))
                << c.button << " " << name.toStdString();
            s.leave(*button);
        }
    }
    QApplication::setActiveWindow(nullptr);
}

}  // namespace
}  // namespace ledpage_test
