#pragma once
// The kind of a project's source file, decided from its extension when the file joins the project.

namespace kemptor {

enum class TSourceKind { skForm, skModule, skCustomControl, skClass, skUserControl };

} // namespace kemptor
