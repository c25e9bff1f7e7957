#pragma once

#include "ImageInfo.h"
#include "Options.h"

namespace nconvert {

// Converts the JPEG file options.inputPath into the PCX file options.outputPath and answers what
// the picture was. Each row is encoded as soon as it is decoded, so only a few rows are ever in
// memory. Every failure throws ConvertError (std::bad_alloc when memory runs out) and leaves no
// output file.
ImageInfo convert(const Options& options);

}  // namespace nconvert
