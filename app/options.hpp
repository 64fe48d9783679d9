// The command line: the options the game takes, read into a plain record, and its usage.
#pragma once

#include <string>
#include <vector>

// What the command line asks for.
struct Options {
    // --help or -h: print the usage and end.
    bool help = false;
    // --version: print the game's name and version and end.
    bool version = false;
    // --mute: play without sound.
    bool mute = false;
    // --no-music: the effects without the music.
    bool noMusic = false;
    // --phones, or --phones-port N: take phones as controllers on that port (0: any free one).
    bool phones = false;
    unsigned short phonesPort = 7770;
    // The scale to draw at: --scale N, or else the desktop's own (scaleFor).
    int scale = 1;
    // Why the command line is refused; empty when it is not.
    std::string error;
};

// The usage that --help prints, and a refused command line after its reason.
extern const char* const usage;

// Reads the arguments after the program's name, for a desktop of width × height pixels. An
// unknown option, a scale that is not a whole number from 1 to largestScale or one that
// leaves a world smaller than leastWidth × leastHeight, and a port that is not a number from 0
// to 65535, are refused. A desktop of 0 × 0 stands for one not read yet: the scale is then
// checked against nothing, so that what needs no display is answered before it is opened.
Options parseOptions(const std::vector<std::string>& args, int width, int height);
