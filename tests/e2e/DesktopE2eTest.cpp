// SPDX-License-Identifier: MIT
// The aquarium on a desktop as users run it: under a window manager (two
// different ones) and without one, on several monitors, on small and scaled
// screens.

#include "tests/e2e/ScreenFixture.h"

#include <QColor>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>

namespace {

// Places on the bar in its own pixels (2 px per template unit).
const QPoint kBarSurface(700, 20);    // between two buttons: the bar's blue
const QPoint kTouchButton(180, 35);
const QPoint kZoomInButton(297, 35);
const QPoint kAddFishButton(547, 35);
const QPoint kMusicButton(670, 35);
const QPoint kExitButton(924, 35);
// The icons alone, on a narrow screen: 40-pixel buttons 44 apart from x 14.
QPoint CompactButton(int index) { return QPoint(14 + 44 * index + 20, 35); }

bool IsBarBlue(QRgb p) { return qBlue(p) > qRed(p) + 40 && qBlue(p) > 90; }
// Light grey, as a desktop panel and a window manager's frames are painted.
bool IsPanelGrey(QRgb p)
{
    return qRed(p) > 150 && std::abs(qRed(p) - qGreen(p)) < 20 && std::abs(qRed(p) - qBlue(p)) < 20;
}

// Window ids as numbers, from xdotool (decimal) or xprop (0x... hex) text.
std::vector<unsigned long> Ids(const std::string& text)
{
    std::vector<unsigned long> ids;
    std::string token;
    std::istringstream words(text);
    while (words >> token) {
        if (!token.empty() && token.back() == ',')
            token.pop_back();
        char* end = nullptr;
        const unsigned long id = std::strtoul(token.c_str(), &end, 0);
        if (end && *end == '\0' && id != 0)
            ids.push_back(id);
    }
    return ids;
}

// One running aquarium on a screen: its windows and what the X server and
// the window manager say about them.
class Desktop {
public:
    Desktop(const VirtualScreen& screen, Process& plovi) : m_screen(screen), m_pid(std::to_string(plovi.Pid())) {}

    // The first visible window of the program whose name matches, or 0.
    unsigned long Window(const std::string& name) const
    {
        const auto ids = Ids(m_screen.Tool({"xdotool", "search", "--all", "--onlyvisible", "--pid", m_pid, "--name", name}).out);
        return ids.empty() ? 0 : ids.front();
    }
    // The aquarium's top-level window (the view inside it is a native
    // window of the same name).
    unsigned long Frame() const
    {
        const auto named = Ids(m_screen.Tool({"xdotool", "search", "--all", "--onlyvisible", "--pid", m_pid, "--name", "^PloviFishScr$"}).out);
        for (unsigned long id : named) {
            const std::string tree = m_screen.Tool({"xwininfo", "-tree", "-id", std::to_string(id)}).out;
            const size_t at = tree.find("Parent window id:");
            const auto parent = at == std::string::npos ? std::vector<unsigned long>{} : Ids(tree.substr(at + 17, 12));
            if (parent.empty() || std::find(named.begin(), named.end(), parent.front()) == named.end())
                return id;
        }
        return 0;
    }
    unsigned long Bar() const { return Window("^Plovi 1.0$"); }
    std::vector<unsigned long> Visible() const
    {
        return Ids(m_screen.Tool({"xdotool", "search", "--onlyvisible", "--pid", m_pid}).out);
    }
    // The window manager's view: property values of a window or the root.
    std::vector<unsigned long> RootList(const std::string& atom) const
    {
        return WindowIds(m_screen.Tool({"xprop", "-root", atom}).out);
    }
    unsigned long TransientFor(unsigned long id) const
    {
        const auto ids = WindowIds(Property(id, "WM_TRANSIENT_FOR"));
        return ids.empty() ? 0 : ids.front();
    }
    std::string Property(unsigned long id, const std::string& atom) const
    {
        return m_screen.Tool({"xprop", "-id", std::to_string(id), atom}).out;
    }
    // The X input focus, as the top-level window that holds it.
    unsigned long Focus() const
    {
        const auto ids = Ids(m_screen.Tool({"xdotool", "getwindowfocus"}).out);
        return ids.empty() ? 0 : ids.front();
    }
    // What the window manager (or, without one, the program) says of the
    // window: no task-bar entry of its own.
    bool SkipsTaskbar(unsigned long id) const
    {
        return Property(id, "_NET_WM_STATE").find("_NET_WM_STATE_SKIP_TASKBAR") != std::string::npos;
    }
    bool BarShows() const
    {
        const QImage shot = m_screen.Screenshot();
        const QPoint at = m_screen.PrimaryMonitor().topLeft() + kBarSurface;
        return IsBarBlue(shot.pixel(at));
    }

private:
    // The window ids of xprop's "ATOM(TYPE) # ..." line.
    static std::vector<unsigned long> WindowIds(const std::string& out)
    {
        const size_t hash = out.find('#');
        return hash == std::string::npos ? std::vector<unsigned long>{} : Ids(out.substr(hash + 1));
    }

    const VirtualScreen& m_screen;
    std::string m_pid;
};

template <WindowManager W>
struct On {
    static constexpr WindowManager kWm = W;
};

struct ManagerName {
    template <typename T>
    static std::string GetName(int) { return WindowManagerName(T::kWm); }
};

template <typename T>
class DesktopE2e : public ScreenFixture<1280, 1024, T::kWm> {
protected:
    using Base = ScreenFixture<1280, 1024, T::kWm>;
    const VirtualScreen& Screen() const { return *Base::s_screen; }
    bool HasManager() const { return T::kWm != WindowManager::None; }
    void Click(QPoint p) const { Screen().Click(p); }

    // Starts the aquarium in a dark tank and waits for its painted bar.
    std::unique_ptr<Process> StartDark()
    {
        this->m_session.WriteSettings(DarkTankSettings());  // only the bar is lit
        auto plovi = this->m_session.Start();
        EXPECT_TRUE(this->m_session.WaitForWindow(*plovi)) << plovi->Err();
        Desktop desktop(Screen(), *plovi);
        EXPECT_TRUE(WaitUntil([&] { return desktop.Bar() != 0 && desktop.BarShows(); }, 15))
            << "no control bar over the aquarium";
        return plovi;
    }

    // Opens a dialog (by a click or a key), waits for it and checks that it
    // is one of the aquarium's: centred, transient for the aquarium, with
    // no task of its own, holding the keyboard, and the bar still drawn over
    // the aquarium beside it. Returns the dialog's id (0 when none came).
    unsigned long OpenOwnDialog(const Desktop& desktop, const std::string& name, const std::function<void()>& open,
                                const char* when)
    {
        SCOPED_TRACE(std::string(name) + ", " + when);
        const unsigned long frame = desktop.Frame();
        open();
        unsigned long dialog = 0;
        EXPECT_TRUE(WaitUntil([&] { return (dialog = desktop.Window(name)) != 0; }, 10)) << "no dialog";
        if (dialog == 0)
            return 0;
        EXPECT_TRUE(WaitUntil([&] { return desktop.Focus() == dialog; }, 3))
            << "the dialog has no keyboard: focus " << desktop.Focus();
        ExpectCentred(dialog, when);
        EXPECT_EQ(desktop.TransientFor(dialog), frame);
        EXPECT_TRUE(desktop.SkipsTaskbar(dialog)) << desktop.Property(dialog, "_NET_WM_STATE");
        EXPECT_TRUE(WaitUntil([&] { return desktop.BarShows(); }, 2)) << "the bar is gone while the dialog is open";
        return dialog;
    }

    // The dialog's own area has its centre at the screen's centre.
    void ExpectCentred(unsigned long dialog, const char* when)
    {
        const std::optional<QRect> area = Screen().WindowArea(std::to_string(dialog));
        ASSERT_TRUE(area) << when;
        const QPoint off = area->center() - QRect(0, 0, 1280, 1024).center();
        EXPECT_LE(off.manhattanLength(), 2) << when << ": off by " << off.x() << ", " << off.y();
    }
};

using Managers = ::testing::Types<On<WindowManager::Openbox>, On<WindowManager::IceWm>, On<WindowManager::None>>;
TYPED_TEST_SUITE(DesktopE2e, Managers, ManagerName);

}  // namespace

// The user's round: at start the bar is over the aquarium, the aquarium has
// the keyboard and covers the panel, and the two are one application; clicks
// in the tank in every mode, a dialog opened (centred, above, with the
// keyboard) and closed, another window over the aquarium and gone again:
// the bar stays over the aquarium through all of it, its tooltips show, and
// Escape in the aquarium ends the program with code 0.
TYPED_TEST(DesktopE2e, TheBarStaysOverTheAquariumThroughAUsersRound)
{
    auto plovi = this->StartDark();
    Desktop desktop(this->Screen(), *plovi);
    const unsigned long frame = desktop.Frame(), bar = desktop.Bar();
    ASSERT_NE(frame, 0u);
    ASSERT_NE(bar, 0u);
    EXPECT_EQ(desktop.TransientFor(bar), frame) << "the bar must belong to the aquarium's window";
    EXPECT_TRUE(WaitUntil([&] { return desktop.Focus() != bar && desktop.Focus() != 0; }, 3))
        << "the bar took the keyboard at start: focus " << desktop.Focus() << " bar " << bar << " frame " << frame;
    // Nothing of the desktop (IceWM's task bar along the bottom) shows.
    EXPECT_EQ(CountPixels(this->Screen().Screenshot(), QRect(0, 1024 - 40, 1280, 40), IsPanelGrey), 0)
        << "a panel is over the aquarium";
    if (this->HasManager()) {
        const auto stacking = desktop.RootList("_NET_CLIENT_LIST_STACKING");
        const auto frameAt = std::find(stacking.begin(), stacking.end(), frame);
        const auto barAt = std::find(stacking.begin(), stacking.end(), bar);
        EXPECT_TRUE(frameAt != stacking.end() && barAt != stacking.end() && barAt > frameAt)
            << "the bar is not stacked over the aquarium: " << ::testing::PrintToString(stacking);
        EXPECT_NE(desktop.Property(frame, "_NET_WM_STATE").find("_NET_WM_STATE_FULLSCREEN"), std::string::npos);
    }

    // A tooltip over a bar button while the aquarium has the focus.
    const size_t windows = desktop.Visible().size();
    this->Screen().Tool({"xdotool", "mousemove", "180", "30", "sleep", "0.1", "mousemove", "181", "31"});
    EXPECT_TRUE(WaitUntil([&] { return desktop.Visible().size() > windows; }, 4)) << "no tooltip";
    this->Screen().Tool({"xdotool", "mousemove", "640", "600"});

    // Clicks in the tank in each mode.
    for (const QPoint& mode : {QPoint(), kTouchButton, kZoomInButton}) {
        if (!mode.isNull())
            this->Click(mode);
        this->Click(QPoint(640, 600));
        Pause(0.3);
        EXPECT_TRUE(desktop.BarShows()) << "the bar went under after a click in mode at " << mode.x();
    }

    // The Custom Music dialog: centred, above the aquarium, with the keyboard.
    unsigned long dialog = 0;
    this->Click(kMusicButton);
    ASSERT_TRUE(WaitUntil([&] { return (dialog = desktop.Window("^Custom Music - Plovi 1.0$")) != 0; }, 5));
    Pause(0.5);
    this->ExpectCentred(dialog, "first show");
    EXPECT_TRUE(WaitUntil([&] { return desktop.Focus() == dialog; }, 3)) << "the dialog has no keyboard";
    EXPECT_EQ(desktop.TransientFor(dialog), frame);
    if (this->HasManager()) {  // NOLINT
        // One task: every other window of the program belongs to the frame.
        for (unsigned long id : desktop.RootList("_NET_CLIENT_LIST"))
            EXPECT_TRUE(id == frame || desktop.Property(id, "_NET_WM_PID") != desktop.Property(frame, "_NET_WM_PID") ||
                        desktop.TransientFor(id) == frame)
                << "window " << id << " is a task of its own";
    }
    // Moved away, closed with Escape, shown again: centred again.
    this->Screen().Tool({"xdotool", "windowmove", std::to_string(dialog), "20", "80"});
    Pause(0.3);
    this->Screen().Tool({"xdotool", "key", "Escape"});
    ASSERT_TRUE(WaitUntil([&] { return desktop.Window("^Custom Music - Plovi 1.0$") == 0; }, 3));
    EXPECT_TRUE(plovi->Running()) << "Escape in the dialog ended the program";
    EXPECT_TRUE(desktop.BarShows());
    this->Click(kMusicButton);
    ASSERT_TRUE(WaitUntil([&] { return desktop.Window("^Custom Music - Plovi 1.0$") != 0; }, 5));
    Pause(0.5);
    this->ExpectCentred(dialog, "second show");
    this->Screen().Tool({"xdotool", "key", "Escape"});
    ASSERT_TRUE(WaitUntil([&] { return desktop.Window("^Custom Music - Plovi 1.0$") == 0; }, 3));

    // Another program's window over the aquarium, then gone (after Alt+Tab
    // back, where a window manager offers it).
    {
        Process other({"xmessage", "-geometry", "400x200+100+0", "another program"}, {{"DISPLAY", this->Screen().Display()}});
        ASSERT_TRUE(WaitUntil([&] { return !this->Screen().WindowsNamed("^xmessage$").empty(); }, 5));
        Pause(0.5);
        if (this->HasManager()) {
            this->Screen().Tool({"xdotool", "key", "alt+Tab"});
            EXPECT_TRUE(WaitUntil([&] { return desktop.BarShows(); }, 3)) << "not over the aquarium after Alt+Tab";
        }
    }
    Pause(0.5);
    EXPECT_TRUE(desktop.BarShows()) << "not over the aquarium once the other window went";

    // Escape in the aquarium ends it at once with code 0.
    this->Click(QPoint(640, 600));
    Pause(0.2);
    this->Screen().Tool({"xdotool", "key", "Escape"});
    const auto result = plovi->Wait(3);
    ASSERT_TRUE(result) << "Escape in the aquarium did not end the program";
    EXPECT_EQ(result->signal, 0);
    EXPECT_EQ(result->exitCode, 0) << plovi->Err();
}

// Preferences (its key) and the modal Fish Settings (the bar's Add Fish) are
// the aquarium's dialogs like the others, at every show: the aquarium stays
// one task with any of them open, and the keyboard goes back to it after.
TYPED_TEST(DesktopE2e, PreferencesAndFishSettingsBelongToTheAquarium)
{
    auto plovi = this->StartDark();
    Desktop desktop(this->Screen(), *plovi);
    ASSERT_NE(desktop.Frame(), 0u);
    const std::string preferences = "^Preferences - Plovi 1.0$";
    for (const char* when : {"first show", "second show"}) {
        const unsigned long dialog = this->OpenOwnDialog(
            desktop, preferences, [&] { this->Screen().Tool({"xdotool", "key", "p"}); }, when);
        ASSERT_NE(dialog, 0u);
        // Moved away before it is closed: the next show centres it again.
        this->Screen().Tool({"xdotool", "windowmove", std::to_string(dialog), "20", "80"});
        Pause(0.3);
        this->Screen().Tool({"xdotool", "key", "Escape"});
        ASSERT_TRUE(WaitUntil([&] { return desktop.Window(preferences) == 0; }, 3));
        EXPECT_TRUE(plovi->Running()) << "Escape in Preferences ended the program";
    }

    const std::string fish = "^Fish Settings - Plovi 1.0$";
    ASSERT_NE(this->OpenOwnDialog(desktop, fish, [&] { this->Click(kAddFishButton); }, "modal"), 0u);
    this->Screen().Tool({"xdotool", "key", "Escape"});
    ASSERT_TRUE(WaitUntil([&] { return desktop.Window(fish) == 0; }, 3));
    EXPECT_TRUE(plovi->Running());
    EXPECT_TRUE(desktop.BarShows());

    // The keyboard is the aquarium's again: Escape ends it.
    this->Screen().Tool({"xdotool", "key", "Escape"});
    const auto result = plovi->Wait(3);
    ASSERT_TRUE(result) << "Escape did not end the program after the dialogs";
    EXPECT_EQ(result->exitCode, 0);
}

// With two monitors, the primary on the left or on the right: the aquarium
// covers the primary one, its bar stands at that monitor's top-left corner,
// and the other monitor is left as it was.
TEST(DesktopMonitorsE2e, TheAquariumCoversThePrimaryMonitorOnly)
{
    for (int primary : {0, 1}) {
        SCOPED_TRACE("primary monitor " + std::to_string(primary));
        VirtualScreen screen({QSize(1024, 768), QSize(1280, 1024)}, primary);
        ASSERT_TRUE(screen.Ok()) << "Xvfb, its monitors or openbox did not start";
        const QRect mine = screen.PrimaryMonitor();
        const QRect other = screen.Monitors().at(size_t(1 - primary));
        const QImage before = screen.Screenshot();
        AquariumSession session(screen);
        session.WriteSettings(DarkTankSettings());
        auto plovi = session.Start();
        ASSERT_TRUE(session.WaitForWindow(*plovi)) << plovi->Err();
        Desktop desktop(screen, *plovi);
        ASSERT_TRUE(WaitUntil([&] { return desktop.Bar() != 0 && desktop.BarShows(); }, 15)) << "no bar";
        EXPECT_EQ(screen.WindowArea(std::to_string(desktop.Frame())), mine);
        const std::optional<QRect> bar = screen.WindowArea(std::to_string(desktop.Bar()));
        ASSERT_TRUE(bar);
        EXPECT_EQ(bar->topLeft(), mine.topLeft());
        EXPECT_EQ(screen.Screenshot().copy(other), before.copy(other)) << "the other monitor changed";
        screen.Tool({"xdotool", "key", "Escape"});
        EXPECT_TRUE(plovi->Wait(3)) << "Escape did not end it";
    }
}

// Screens too narrow for the bar's captions: every button is on the screen
// (the last one, Exit, works), and the picture reaches both side edges.
template <int Width, int Height>
class NarrowDesktopE2e : public ScreenFixture<Width, Height> {
protected:
    using Base = ScreenFixture<Width, Height>;
    void ExitThroughTheLastButton(const Process::Env& env, int scale)
    {
        auto plovi = this->m_session.Start({}, env);
        ASSERT_TRUE(this->m_session.WaitForWindow(*plovi)) << plovi->Err();
        Desktop desktop(*Base::s_screen, *plovi);
        ASSERT_TRUE(WaitUntil([&] { return desktop.Bar() != 0; }, 15));
        Pause(1.5);
        const QImage shot = Base::s_screen->Screenshot();
        // The picture at both edges, a third of the way down.
        for (int x : {3, Width - 4})
            EXPECT_GT(CountPixels(shot, QRect(x, Height / 3, 1, Height / 3), IsLit), Height / 4) << "column " << x;
        // The Exit icon's red sign, whole on the screen.
        const QPoint exit = CompactButton(7) * scale;
        EXPECT_GT(CountPixels(shot, QRect(exit - QPoint(16, 16) * scale, QSize(32, 32) * scale),
                        [](QRgb p) { return qRed(p) > 180 && qGreen(p) < 90 && qBlue(p) < 90; }),
                  40)
            << "no Exit icon";
        Base::s_screen->Click(exit);
        const auto result = plovi->Wait(5);
        ASSERT_TRUE(result) << "Exit is out of reach";
        EXPECT_EQ(result->exitCode, 0);
    }
};

using SmallScreenE2e = NarrowDesktopE2e<800, 600>;
using ScaledScreenE2e = NarrowDesktopE2e<1920, 1080>;

TEST_F(SmallScreenE2e, EveryButtonIsWithinReach)
{
    ExitThroughTheLastButton({}, 1);
}

TEST_F(ScaledScreenE2e, EveryButtonIsWithinReachAtTwiceTheScale)
{
    ExitThroughTheLastButton({{"QT_SCALE_FACTOR", "2"}}, 2);
}
