#pragma once
// The dialog manager's rule for Enter, Esc and the close box, the same in
// every view: which button's click the dialog gets, or none when the
// focused control takes the key itself. Each view turns its platform's keys
// into a DialogKey and sends the answer as that button's BN_CLICKED.

enum class DialogKey { Enter, Escape, CloseBox };

// What has the keyboard focus when the key comes.
struct KeyFocus {
    bool pushButton = false;   // its own Enter clicks it
    bool droppedList = false;  // an open drop-down list: Enter picks its row, Esc folds it
};

// The button the key clicks, into `button`: Enter clicks `defaultButton`,
// Esc and the close box click Cancel (IDCANCEL), wherever the focus is in
// the dialog or one of its pages. False, leaving `button` as it was, when
// the key is the focused control's own.
bool dialogKeyCommand(DialogKey key, const KeyFocus& focus, int defaultButton, int& button);
