#pragma once

#include <QString>

// Why the print system would not take the job the print engine has just handed it, in
// words for the user, or nothing when it took it. One file for each print system.
QString PrintSystemRefusal();
