#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/linux/help/chm_reader_process.h"

// The context-help pop-up texts of a help file: its "/ContextHelp.txt",
// in the text pop-up form the help compiler packs. Each text starts with a
// line ".topic N" (N its number) and runs to the next such line:
//
//   .topic 29
//   How far the flight wanders from the straight line.
//
// Blank lines before and after a text are dropped; line breaks inside it
// stay. Topics named by a symbol instead of a number cannot be asked for.
// The first text of a number counts. A UTF-8 byte-order mark is skipped.

// Topic `topic`'s text from the file's contents into `text`, as UTF-8 (a
// file that is not UTF-8 is read as Windows-1252, as the shipped German and
// French help is). False, leaving `text` as it was, when the topic is absent
// or has no text.
bool findPopupText(std::string_view contextHelp, uint32_t topic, std::string& text);

// The same from the help file at `helpFile`; false also when the file cannot
// be read or has no "ContextHelp.txt".
bool loadPopupText(const std::string& helpFile, uint32_t topic, std::string& text,
                   const ChmReaderProcess::Limits& limits = {});
