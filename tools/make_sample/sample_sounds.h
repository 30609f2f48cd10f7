#pragma once

#include <QByteArray>

namespace pimoko::sample {

// A hop: a short rising chirp, as a 16-bit mono WAV file.
QByteArray HopWav();
// A small bell chord that rings out, as a 16-bit mono WAV file.
QByteArray ChimeWav();
// A gentle tune for the cover, as a Standard MIDI File (format 0): a music-box melody
// over a soft bass, about twenty seconds, made to loop.
QByteArray TuneMidi();

} // namespace pimoko::sample
