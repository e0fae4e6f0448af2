#pragma once
#include "dialogs/settings_page.h"

// The four pages of the settings dialog, in tab order. Each writes a
// field the moment its control changes.

// Amount of stars, cloud density, and the pictures the stars are placed after.
class StarfieldPage final : public SettingsPage {
public:
    explicit StarfieldPage(DialogServices& services);
    void refresh() override;

private:
    static const MessageRow<StarfieldPage> kMessages[];
    void initialise() override { refresh(); }
    intptr_t pageMessage(const Message& message) override;
    intptr_t onUsePictures(const Message&);
    intptr_t onAddPicture(const Message&);
    intptr_t onRemovePicture(const Message&);
};

// Movement and rotation speed, roaming frequency and amplitude.
class FlightPage final : public SettingsPage {
public:
    explicit FlightPage(DialogServices& services);
    void refresh() override;

private:
    void initialise() override { refresh(); }
};

// Frame rate, anti-aliasing mode and background sound.
class EffectsPage final : public SettingsPage {
public:
    explicit EffectsPage(DialogServices& services);
    void refresh() override;

private:
    static const MessageRow<EffectsPage> kMessages[];
    void initialise() override;
    intptr_t pageMessage(const Message& message) override;
    void rebuildSoundBox();
    intptr_t onAntiAliasing(const Message&);
    intptr_t onSound(const Message&);
};

// Interface language and help file; presets do not carry them, so the page
// is filled once and never refreshed.
class LanguagePage final : public SettingsPage {
public:
    explicit LanguagePage(DialogServices& services);

private:
    static const MessageRow<LanguagePage> kMessages[];
    void initialise() override;
    intptr_t pageMessage(const Message& message) override;
    intptr_t onLanguage(const Message&);
    intptr_t onHelpFile(const Message&);
    void choose(int box, const std::vector<std::string>& files, StoredText text, std::string& chosen);
};
