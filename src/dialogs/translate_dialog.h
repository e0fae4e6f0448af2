#pragma once
#include <cstdint>

#include "dialogs/dialog_view.h"
#include "i18n/language_table.h"

// Gives every descendant of the dialog the language's text for its control
// id, then the dialog its caption for `dialogId`; ids without a text keep
// the built-in one. Windows only owned by the dialog translate themselves.
void TranslateDialog(DialogView& view, uint32_t dialogId, const LanguageTable& table);
