#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/window_messages.h"
#include "settings/settings.h"
#include "ui/context_help.h"

// The help viewer as the platform offers it: the library is found and
// loaded at run time, and its one entry point takes four commands.
struct HelpPopup {
    uint32_t topic;    // the number of the pop-up text in the file's pop-up text file
    std::string font;  // "" for the viewer's default
};

class HelpViewer {
public:
    virtual ~HelpViewer() = default;

    // The viewer library the system has registered; "" when none is.
    virtual std::string registeredLibrary() = 0;
    // Loads a library by path, or by name through the normal library search.
    virtual bool loadLibrary(const std::string& pathOrName) = 0;
    virtual bool findEntryPoint() = 0;

    // The four commands; each returns the viewer's result.
    virtual intptr_t displayTopic(WindowHandle owner, const std::string& fileAndTopic) = 0;
    virtual intptr_t displayTextPopup(WindowHandle control, const std::string& file, const HelpPopup& popup) = 0;
    virtual intptr_t initialize(uint32_t& cookie) = 0;
    virtual intptr_t uninitialize(uint32_t cookie) = 0;
};

// The name the viewer library is loaded by when none is registered.
inline constexpr std::string_view kHelpViewerLibrary = "hhctrl.ocx";

// Routes the dialogs' help requests to the chosen help file. Reads
// `settings.HelpFile` at every request, so a new choice applies at once;
// an empty HelpFile means no help. The viewer is loaded by the first call
// and never again once loading failed.
class Help {
public:
    Help(HelpViewer& viewer, const Settings& settings) : viewer_(viewer), settings_(settings) {}

    intptr_t ShowHelpTopic(WindowHandle owner, std::string_view topic);
    intptr_t ShowContextHelp(WindowHandle control, int32_t controlId, std::span<const ContextTopicRow> table);
    intptr_t HelpInitialize();
    intptr_t HelpUninitialize();

private:
    bool reachViewer();

    HelpViewer& viewer_;
    const Settings& settings_;
    bool loaded_ = false;
    bool entryFound_ = false;
    bool failed_ = false;
    uint32_t cookie_ = 0;
};
