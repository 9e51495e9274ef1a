#pragma once

namespace dialogs {

// What a modal showing of the editor's dialogs gives back. The close box and
// Escape give Cancel, as the "Close" buttons do.
enum ModalResult : int {
    ModalOk = 1,
    ModalCancel = 2,
    // The Edit dialog's Ctrl+Shift+Enter: saved, and on to the next entry
    // that needs work.
    ModalOkNext = 3,
};

} // namespace dialogs
