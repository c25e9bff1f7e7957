#pragma once

namespace converterresources {

// Registers the resources :/CUSTOM/101 (i386 converter) and :/CUSTOM/102 (x86-64 converter).
// Calling it ties the resource data into every program that loads a converter build, which the
// static linker would otherwise drop. Safe to call more than once.
void registerConverterBuilds();

}  // namespace converterresources
