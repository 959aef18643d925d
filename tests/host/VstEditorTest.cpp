// Opens the plug-in's editor inside a host window on a real X display, the
// way a Linux VST2 host does. Needs an X server (ctest runs it under xvfb-run).

#include "HostTestEnvironment.h"
#include "VstTestHost.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

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

// Where the plug-in keeps its preferences: the per-user configuration folder, which
// the test program points into its own temporary HOME.
std::string preferencesFolder()
{
    const char* config = std::getenv ("XDG_CONFIG_HOME");
    const char* home = std::getenv ("HOME");
    return (config != nullptr ? std::string (config) : std::string (home != nullptr ? home : "") + "/.config")
           + "/Ostel_Kaverno";
}

std::string preferencesPath()
{
    return preferencesFolder() + "/Sombrax.prefs";
}

// The framework's properties file in XML, as a closed editor leaves it.
void storeEditorSize (int width, int height)
{
    mkdir (preferencesFolder().c_str(), 0755);
    std::ofstream file (preferencesPath(), std::ios::trunc);
    file << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n\n"
         << "<PROPERTIES>\n"
         << "  <VALUE name=\"editor_width\" val=\"" << width << "\"/>\n"
         << "  <VALUE name=\"editor_height\" val=\"" << height << "\"/>\n"
         << "</PROPERTIES>\n";
}

void forgetEditorSize()
{
    std::remove (preferencesPath().c_str());
}

// The colour on screen at a point of a window, as 0xRRGGBB (24-bit TrueColor, as Xvfb runs).
unsigned long pixelAt (Display* display, Window window, int x, int y)
{
    XImage* image = XGetImage (display, window, x, y, 1, 1, AllPlanes, ZPixmap);

    if (image == nullptr)
        return 0xffffffffUL;

    const auto pixel = XGetPixel (image, 0, 0) & 0xffffffUL;
    XDestroyImage (image);
    return pixel;
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

//==============================================================================
namespace
{
class VstHostEditorWindow : public VstHostEditor
{
protected:
    // A fresh instance, so its preferences are read again.
    void reload()
    {
        host.close();
        std::string error;
        ASSERT_TRUE (host.load (getPluginPath(), error)) << error;
        host.open();
    }

    std::pair<int, int> editorRect()
    {
        ERect* rect = nullptr;
        host.dispatch (effEditGetRect, 0, 0, &rect);

        if (rect == nullptr)
            return { 0, 0 };

        return { rect->right - rect->left, rect->bottom - rect->top };
    }

    // Opens the editor in the host window sized to it, and waits until it has drawn the
    // frame and the top bar at their places for this scale.
    bool openAndWaitForPaint (int width, int height, float scale)
    {
        XResizeWindow (display, parentWindow, (unsigned int) width, (unsigned int) height);
        XSync (display, False);

        if (host.dispatch (effEditOpen, 0, 0, reinterpret_cast<void*> (parentWindow)) != 1)
            return false;

        return idleUntil ([&] { return looksLikeTheEditor (scale); }, 500);
    }

    bool looksLikeTheEditor (float scale)
    {
        const auto at = [&] (float x, float y)
        {
            return pixelAt (display, parentWindow, (int) std::floor (x * scale), (int) std::floor (y * scale));
        };

        lastPixels = { at (350.0f, 0.5f), at (0.5f, 200.0f), at (350.0f, 3.5f), at (350.0f, 20.0f), at (350.0f, 365.0f) };
        const std::vector<unsigned long> expected { 0xbdbdbd, 0xbdbdbd, 0x3b3b3b, 0x202020, 0x202020 };
        return lastPixels == expected;
    }

    std::string describePixels() const
    {
        std::string text;
        char hex[16];

        for (auto pixel : lastPixels)
        {
            std::snprintf (hex, sizeof (hex), "%06lx ", pixel);
            text += hex;
        }

        return text;
    }

    std::vector<unsigned long> lastPixels;
};
} // namespace

TEST_F (VstHostEditorWindow, OpensAtTheLogicalSizeWithNothingStored)
{
    forgetEditorSize();
    reload();

    EXPECT_EQ (editorRect(), std::make_pair (700, 400));
    EXPECT_TRUE (openAndWaitForPaint (700, 400, 1.0f)) << "pixels seen: " << describePixels();
    EXPECT_EQ (editorRect(), std::make_pair (700, 400));

    host.dispatch (effEditClose);
    EXPECT_TRUE (idleUntil ([&] { return countChildren (display, parentWindow) == 0; }));
    EXPECT_EQ (hostDisplayErrors.load(), 0);
}

TEST_F (VstHostEditorWindow, OpensAtTheStoredSize)
{
    storeEditorSize (1050, 600);
    reload();

    EXPECT_EQ (editorRect(), std::make_pair (1050, 600));
    EXPECT_TRUE (openAndWaitForPaint (1050, 600, 1.5f)) << "pixels seen: " << describePixels();
    EXPECT_EQ (editorRect(), std::make_pair (1050, 600));

    host.dispatch (effEditClose);
    EXPECT_TRUE (idleUntil ([&] { return countChildren (display, parentWindow) == 0; }));
    host.close();

    // The instance kept the size it opened at.
    std::ifstream file (preferencesPath());
    const std::string text ((std::istreambuf_iterator<char> (file)), std::istreambuf_iterator<char>());
    EXPECT_NE (text.find ("name=\"editor_width\" val=\"1050\""), std::string::npos) << text;
    EXPECT_NE (text.find ("name=\"editor_height\" val=\"600\""), std::string::npos) << text;

    forgetEditorSize();
    EXPECT_EQ (hostDisplayErrors.load(), 0);
}

TEST_F (VstHostEditorWindow, OpensAndClosesFiftyTimesWhileAudioAndAutomationRun)
{
    host.setSampleRate (44100.0f);
    host.setBlockSize (256);
    host.resume();

    std::atomic<bool> stop { false };
    std::atomic<int> blocks { 0 };
    std::atomic<int> nonFinite { 0 };

    std::thread audio ([&]
    {
        std::mt19937 random (5);
        std::uniform_int_distribution<int> anyParameter (0, 20);
        std::uniform_real_distribution<float> anyValue (0.0f, 1.0f);
        std::vector<std::vector<float>> input (2, std::vector<float> (256, 0.25f));
        std::vector<std::vector<float>> output (2, std::vector<float> (256, 0.0f));

        while (! stop)
        {
            host.setParameter (anyParameter (random), anyValue (random));

            // Now and then a program change, which an open editor's timer picks up.
            if (blocks % 50 == 0)
                host.sendMidi ({ { { 0xc0, (std::uint8_t) (blocks / 50 % 8), 0 }, 0 } });

            host.processReplacing (input, output, 256);

            for (const auto& channel : output)
                for (auto sample : channel)
                    if (! std::isfinite (sample))
                        ++nonFinite;

            ++blocks;
        }
    });

    ERect* rect = nullptr;
    host.dispatch (effEditGetRect, 0, 0, &rect);
    ASSERT_NE (rect, nullptr);
    XResizeWindow (display, parentWindow, (unsigned int) (rect->right - rect->left), (unsigned int) (rect->bottom - rect->top));

    int opened = 0;

    for (int round = 0; round < 50; ++round)
    {
        if (host.dispatch (effEditOpen, 0, 0, reinterpret_cast<void*> (parentWindow)) == 1)
            ++opened;

        // A few of the editor's own timer periods, so its refresh runs against the audio.
        idleUntil ([&] { return false; }, 3 + round % 5);

        host.dispatch (effEditClose);
        EXPECT_TRUE (idleUntil ([&] { return countChildren (display, parentWindow) == 0; })) << round;
    }

    stop = true;
    audio.join();
    host.suspend();

    EXPECT_EQ (opened, 50);
    EXPECT_GT (blocks.load(), 50);
    EXPECT_EQ (nonFinite.load(), 0);
    EXPECT_EQ (hostDisplayErrors.load(), 0);
}
