// Opens the plug-in's editor inside a host window on a real X display, the
// way a Linux VST2 host does. Needs an X server (ctest runs it under xvfb-run).

#include "HostTestEnvironment.h"
#include "VstTestHost.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace
{
std::atomic<Display*> hostDisplay { nullptr };
std::atomic<int> hostDisplayErrors { 0 };
std::atomic<int> otherDisplayErrors { 0 };

// Xlib's default handler ends the process on any error; a host keeps going.
int recordXError (Display* display, XErrorEvent*)
{
    if (display == hostDisplay.load())
        ++hostDisplayErrors;
    else
        ++otherDisplayErrors;

    return 0;
}

} // namespace

void installHostXErrorHandler()
{
    static const bool installed = []
    {
        // The plug-in drives X from its own threads too, so this must come
        // before any other Xlib call in the process.
        XInitThreads();
        XSetErrorHandler (recordXError);
        return true;
    }();

    (void) installed;
}

namespace
{
int countChildren (Display* display, Window window)
{
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int numChildren = 0;

    if (XQueryTree (display, window, &root, &parent, &children, &numChildren) == 0)
        return -1;

    if (children != nullptr)
        XFree (children);

    return (int) numChildren;
}

void drainEvents (Display* display)
{
    while (XPending (display) > 0)
    {
        XEvent event;
        XNextEvent (display, &event);
    }
}

class VstHostEditor : public ::testing::Test
{
protected:
    void SetUp() override
    {
        installHostXErrorHandler();

        display = XOpenDisplay (nullptr);

        if (display == nullptr)
            GTEST_SKIP() << "no X display (run under xvfb-run)";

        hostDisplay = display;

        const auto screen = DefaultScreen (display);
        parentWindow = XCreateSimpleWindow (display, RootWindow (display, screen), 0, 0, 800, 600, 0,
                                            BlackPixel (display, screen), BlackPixel (display, screen));
        XStoreName (display, parentWindow, "Sombrax test host");
        XMapWindow (display, parentWindow);
        XSync (display, False);

        ASSERT_FALSE (getPluginPath().empty()) << "pass --plugin=<path of the VST2 binary> or set SOMBRAX_VST_PLUGIN";

        std::string error;
        ASSERT_TRUE (host.load (getPluginPath(), error)) << error;
        host.open();
    }

    void TearDown() override
    {
        host.close();

        if (display != nullptr)
        {
            XDestroyWindow (display, parentWindow);
            XSync (display, False);
            hostDisplay = nullptr;
            XCloseDisplay (display);
        }
    }

    // Pumps the editor as a host's idle timer would, until the check holds
    // or the rounds run out.
    template <typename Condition>
    bool idleUntil (Condition condition, int maxRounds = 200)
    {
        for (int round = 0; round < maxRounds; ++round)
        {
            host.dispatch (effEditIdle);
            XSync (display, False);
            drainEvents (display);

            if (condition())
                return true;

            std::this_thread::sleep_for (std::chrono::milliseconds (10));
        }

        return false;
    }

    Display* display = nullptr;
    Window parentWindow = 0;
    VstTestHost host;
};
} // namespace

TEST_F (VstHostEditor, OpensIdlesAndClosesInAHostWindow)
{
    ASSERT_NE (host.getEffect()->flags & effFlagsHasEditor, 0);

    ERect* rect = nullptr;
    EXPECT_NE (host.dispatch (effEditGetRect, 0, 0, &rect), 0);
    ASSERT_NE (rect, nullptr);

    const int width = rect->right - rect->left;
    const int height = rect->bottom - rect->top;
    EXPECT_GT (width, 0);
    EXPECT_GT (height, 0);

    // Hosts size their window to the editor before opening it.
    XResizeWindow (display, parentWindow, (unsigned int) width, (unsigned int) height);
    XSync (display, False);

    EXPECT_EQ (host.dispatch (effEditOpen, 0, 0, reinterpret_cast<void*> (parentWindow)), 1);

    ERect* openRect = nullptr;
    host.dispatch (effEditGetRect, 0, 0, &openRect);
    ASSERT_NE (openRect, nullptr);
    EXPECT_GT (openRect->right - openRect->left, 0);
    EXPECT_GT (openRect->bottom - openRect->top, 0);

    // The editor's window ends up inside the one the host handed over.
    EXPECT_TRUE (idleUntil ([&] { return countChildren (display, parentWindow) > 0; }));

    for (int i = 0; i < 5; ++i)
        host.dispatch (effEditIdle);

    host.dispatch (effEditClose);

    EXPECT_TRUE (idleUntil ([&] { return countChildren (display, parentWindow) == 0; }))
        << "the editor's window stayed in the host window after effEditClose";

    EXPECT_EQ (hostDisplayErrors.load(), 0);
}

TEST_F (VstHostEditor, ReopensAfterClosing)
{
    ERect* rect = nullptr;
    host.dispatch (effEditGetRect, 0, 0, &rect);
    ASSERT_NE (rect, nullptr);

    for (int round = 0; round < 2; ++round)
    {
        EXPECT_EQ (host.dispatch (effEditOpen, 0, 0, reinterpret_cast<void*> (parentWindow)), 1) << round;
        EXPECT_TRUE (idleUntil ([&] { return countChildren (display, parentWindow) > 0; })) << round;

        host.dispatch (effEditClose);
        EXPECT_TRUE (idleUntil ([&] { return countChildren (display, parentWindow) == 0; })) << round;
    }

    EXPECT_EQ (hostDisplayErrors.load(), 0);
}
