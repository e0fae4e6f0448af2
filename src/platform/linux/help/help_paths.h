#pragma once
#include <string>
#include <string_view>
#include <vector>

// Paths inside a help file, and the topics and links that name them. An
// archive path starts with "/" and is made of plain names only; it is what
// an extracted copy writes under its folder, so nothing here may name a
// place outside that folder.

// A topic as the dialogs ask for it: "::/settings.htm#tab2" (the "::" may be
// left out).
struct HelpTopic {
    std::string page;    // "/settings.htm"
    std::string anchor;  // "tab2"; empty for the top of the page
};

// Reads `topic` into `parsed`. False, leaving `parsed` as it was, when the
// page is not a safe archive path or the anchor holds more than letters,
// digits and "._:-".
bool parseHelpTopic(std::string_view topic, HelpTopic& parsed);

// True for "/" followed by plain names joined by "/": no empty name, none
// starting with ".", no control characters and none of \ : * ? " < > |.
bool isSafeArchivePath(std::string_view path);

// The values of the href and src attributes of an HTML page, in page order.
std::vector<std::string> pageLinks(std::string_view html);

// The archive path a link on `page` leads to, into `path`: relative to the
// page's folder, "%XX" decoded, the "#anchor" and "?query" dropped. False,
// leaving `path` as it was, for links to the page itself, with a scheme
// ("http:", "ms-its:"), from the root ("/x"), above the archive's root, or
// to a name that is not safe.
bool resolveLink(std::string_view page, std::string_view link, std::string& path);
