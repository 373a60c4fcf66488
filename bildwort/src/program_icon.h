// The program's icon, drawn in code: a picture above a line of words.
#pragma once

#include <QIcon>

namespace bildwort {

QIcon ProgramIcon();

}  // namespace bildwort
