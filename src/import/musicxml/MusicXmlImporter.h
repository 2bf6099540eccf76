#pragma once
// The MusicXML importer of the registry: ".xml", ".musicxml", ".mxl", and any zip archive.

#include <memory>

#include "import/Importer.h"

namespace vornel {

std::unique_ptr<Importer> MakeMusicXmlImporter();

}  // namespace vornel
