#pragma once
#include "platform/linux/help/topic_extraction.h"

typedef struct _GAppLaunchContext GAppLaunchContext;

// Shows an extracted help topic in the desktop's browser through GIO: the
// application the XDG MIME settings name for HTML pages.
//
// Applications whose desktop entry takes URIs (Exec with %u or %U, as
// browsers have it) are given the page's file:// URI, "#anchor" and all
// ("#top" for a topic without one). Those that take file names (%f, %F) get
// a path, which cannot carry an anchor: they are given the topic's jump
// page instead, which moves on to the anchor.
//
// `context` may be the toolkit's launch context (display, start-up
// notification), or null. False when no application takes HTML pages or
// it cannot be started; the browser's own success is not known.
bool openInBrowser(const ExtractedTopic& topic, GAppLaunchContext* context = nullptr);
