// The one audio output: the mixer that sound buffers and songs play through,
// and the device that plays it. The device is opened (through SDL) when the
// first user acquires the output and closed when the last releases it.
//
// Tests may switch the output to manual mixing before any user exists: no
// device is opened and the test runs the mixer itself.
#pragma once

class AudioMixer;

// The shared mixer, or null when the device does not open.
AudioMixer *AudioOutputAcquire();
void AudioOutputRelease();

void AudioOutputSetManualMixingForTests(bool manual, int rate);
// The mixer while the output is acquired, else null.
AudioMixer *AudioOutputGetMixer();
