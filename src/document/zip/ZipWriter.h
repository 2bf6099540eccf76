#pragma once
// The writing half of the zip library: creates an archive, adds files under entry names and
// finishes it with the central directory. Files are deflated (raw deflate, level 8) unless
// their names show they are compressed already (".zip", ".gz", ".Z" ...), which are stored.
// Each entry carries an "UT" field with its modification, access and creation times.
//
// The archive is written under a temporary name beside its path and renamed onto the path
// when `CloseZip` has written it whole: an archive that is never finished replaces nothing.

#include <string>
#include <string_view>

#include "document/zip/ZipHandle.h"

namespace vornel {

// Starts a new archive at `path` (replacing any file there once finished); null when it
// cannot be created, with 0x200 as the writer's last result.
ZipHandlePtr CreateZip(const std::string& path);

// Adds the file `sourcePath` as entry `name` (UTF-8; "\" is written as "/"; a name that is not
// plain ASCII is marked as UTF-8). Codes: 0x10000 for a null handle, an empty name or one
// longer than 259 bytes (a name that is not UTF-8 is refused without touching the last
// result), 0x80000 for a reader handle, 0x50000 once the archive is closed, 0x200 when the
// source cannot be opened, 0x400 when writing fails or the archive would pass the format's
// 4 GiB or 65,535-entry limits. A failed add leaves the entries before it intact.
ZipResult ZipAdd(ZipHandle* handle, std::string_view name, const std::string& sourcePath);

// Writes the central directory and the end record and puts the archive in place: 0, or 0x400
// when a write fails (nothing is put in place then). A reader handle gives 0x80000 and is left
// alone; a null handle 0x10000; a second close 0x50000.
ZipResult CloseZip(ZipHandle* handle);

}  // namespace vornel
