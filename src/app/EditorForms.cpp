#include "app/EditorForms.h"

namespace app {

EditorForms::EditorForms()
    : EditForm(FormXom)
{
    FormXom.attachDialogs(EditForm, AddForm);
}

} // namespace app
