#pragma once

#include <QString>

// The long, absolute form of a folder path, ending in a separator; links
// and "." or ".." are resolved when the folder exists.
QString LongDir(const QString &folder);
