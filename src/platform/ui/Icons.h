#pragma once
// The program's own icons, drawn with QPainter at whatever size a view asks for, so that they stay sharp
// on any screen and need no image files. Disabled icons are greyed by the style.

#include <QIcon>

namespace kemptor {

enum class IconId {
    App,
    Open,
    Close,
    Options,
    Process,
    ViewProject,
    ViewSource,
    FormTree,
    Commentor,
    Charts,
    SelectAll,
    DeselectAll,
    Help,
    // project tree
    Project,
    Form,
    Module,
    Class,
    UserControl,
    // pages of the Options dialog
    PageGeneral,
    PageIndents,
    PageComments,
    PageBlankLines,
    PageSpellCheck,
    PageSave,
    PageUser,
    Folder,
    // form structure tree
    Properties,
    Control,
};

QIcon KemptorIcon(IconId id);

} // namespace kemptor
