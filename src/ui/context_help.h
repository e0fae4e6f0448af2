#pragma once
#include <cstdint>
#include <span>

// Which pop-up text of the help file a right-click on a control shows: rows
// of (control id, topic number). A control without a row gets
// kDefaultContextTopic.
struct ContextTopicRow {
    int32_t control;
    uint32_t topic;
};

inline constexpr uint32_t kDefaultContextTopic = 100;

// One table for the settings dialog and its four pages.
std::span<const ContextTopicRow> settingsContextTopics();
std::span<const ContextTopicRow> newPresetContextTopics();

// The topic of `control` in `table`.
uint32_t contextTopic(std::span<const ContextTopicRow> table, int32_t control);
