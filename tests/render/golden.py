#!/usr/bin/env python3
"""Speed work on the synth, the renderer and its writers must leave every output bit for bit as
it was: the WAV file, the event list and the MIDI file of a few programs playing a ten-note chord
hash to the values recorded from the code before that work, at two sample rates and at a small
and a large block size.

usage: golden.py <plimsar-render> [--print]

With --print it prints the table of hashes of the current renderer instead of checking it
(to record the table after a change that is meant to alter the output).
"""

import hashlib
import os
import subprocess
import sys

from render_support import Failure, check_equal, main, run

# Ten notes over three octaves held for two bars, then ten others for two bars, so the render
# holds note-ons, note-offs and a chord change with every voice of the synth busy.
FIRST = [36, 43, 48, 52, 55, 59, 62, 64, 67, 71]
SECOND = [38, 45, 50, 53, 57, 60, 65, 69, 72, 76]


def chord_csv():
    rows = ["0, 0, Header, 0, 1, 480", "1, 0, Start_track"]
    for start, end, notes in ((0, 3840, FIRST), (3840, 7680, SECOND)):
        rows += [f"1, {start}, Note_on_c, 0, {n}, {90 + i}" for i, n in enumerate(notes)]
        rows += [f"1, {end}, Note_off_c, 0, {n}, 0" for n in notes]
    rows += ["1, 7680, End_track", "0, 0, End_of_file"]
    return "\n".join(rows) + "\n"


PROGRAMS = [None, 25, 28]  # None: the default program of the clean start
RATES = [48000, 44100]
BLOCKS = [64, 4096]

# (program, sample rate, block size) -> sha256 of the WAV file, the event list and the MIDI file
GOLDEN = {
    (None, 48000, 64): ('bd864ae2b8928741e967d3bb80fb9087a3e4c249bc3204c019d0fc2887f06cf8',
                         '7ddbea8a401579199dc3b1436bf8c641f766a313de33363e1404f82b1a3e4531',
                         '72609b08a28da9a949b878d8291f2418cafc2defb000bb35d865a6a4b7532809'),
    (None, 48000, 4096): ('d0b03d7e158cf5d625344246b5ecbce8e652919df712c47baf1978deec8a99f7',
                           '7ddbea8a401579199dc3b1436bf8c641f766a313de33363e1404f82b1a3e4531',
                           '72609b08a28da9a949b878d8291f2418cafc2defb000bb35d865a6a4b7532809'),
    (None, 44100, 64): ('65352b760f1faac66a076150390e27a3c1db174cbe0b7bc75b888a03c8f7d654',
                         'f836dda5e978a1e4e5aef06f27fd14d9c04712d277315656fc57ffd2590cf30a',
                         '72609b08a28da9a949b878d8291f2418cafc2defb000bb35d865a6a4b7532809'),
    (None, 44100, 4096): ('70e2f1cafe573198a448f0772ff6fe1c22e9304590eb7b7e436e49e1a2db08b4',
                           'f836dda5e978a1e4e5aef06f27fd14d9c04712d277315656fc57ffd2590cf30a',
                           '72609b08a28da9a949b878d8291f2418cafc2defb000bb35d865a6a4b7532809'),
    (25, 48000, 64): ('aedd64a20fba6e615b7510fcee3870fff7e85730f9c693f6c19ea1effeaff904',
                       'e1dc7391044d6f29772b30cbfa3313948047925b28357d80d5ac78ac99aab64f',
                       '699a83b929f7e22b856827833d944b14d6f0f541cdebb310572fed73c9bf8a85'),
    (25, 48000, 4096): ('0a23a82ec79336dfdd714696ad507810e5ccbf997783643c3358bc292b399ed4',
                         'f02f84d7252257a1e74856d7e3a67afa708ed7715921b65b0123be1d9d6a4a87',
                         '330809130de29192c3df2962a18246d97ce6ccfc8a8ffba463ef52edf7fa2953'),
    (25, 44100, 64): ('457a39732a0eeb0641055e300f4eeac8e56d10b09c7732a64bf910508528798f',
                       'e830a9ff3fca114138cdc0b4159e000b4e4aa5fde0274dd1323019983dd240fc',
                       '699a83b929f7e22b856827833d944b14d6f0f541cdebb310572fed73c9bf8a85'),
    (25, 44100, 4096): ('4511fbb84fd1b3b7dd5fbd6192a5859d4ada60ac3bc68c337f9d24a51d4702fd',
                         'e830a9ff3fca114138cdc0b4159e000b4e4aa5fde0274dd1323019983dd240fc',
                         '699a83b929f7e22b856827833d944b14d6f0f541cdebb310572fed73c9bf8a85'),
    (28, 48000, 64): ('c0f45ad6acdba9328061dc2e723215a4b9f94cf80e36f0cfb1285e6ec44eb766',
                       'f51f0ea644cad29d4933b1e2e7f9b5de291aeb7b460030af28b313e7ec2140e3',
                       'a3ded2e5ae4451dbb7dcdfa2d9a5d294fb6965715ccc50ffe3e8e875e6392f1d'),
    (28, 48000, 4096): ('b3d1eb5f38234655616636227241b94d0d441b986d15f573633b79ca84c2abec',
                         '0b43bb7eb280f27cb63a9d19572ab01e28a76a99d24b898191d9d6c15e195ae8',
                         '33e1de7749dce8dc8c1f987f4e428b53d92b777f0fde427bd6d4d4ad5dc4933f'),
    (28, 44100, 64): ('d79a4f9bf5f66099d1ee9b961a56d4b0484fc5313a5069ccefabb7d0eea3241c',
                       '8f4ea8bb2343aafe3e0bd48d4d3c9449315f1cc32b46d49592d36c7a11dc00ea',
                       'a3ded2e5ae4451dbb7dcdfa2d9a5d294fb6965715ccc50ffe3e8e875e6392f1d'),
    (28, 44100, 4096): ('a78b910013addfaf6489ff95873f045f44afd6c82b44a69ac558e91b8b9bf80b',
                         '8f4ea8bb2343aafe3e0bd48d4d3c9449315f1cc32b46d49592d36c7a11dc00ea',
                         'a3ded2e5ae4451dbb7dcdfa2d9a5d294fb6965715ccc50ffe3e8e875e6392f1d'),
}


def hashes(folder, program, rate, block):
    outputs = [os.path.join(folder, name) for name in ("out.wav", "out.csv", "out.mid")]
    args = ["--input", "chords.mid", "--bars", "5", "--sample-rate", rate, "--block-size", block,
            "--wav-out", outputs[0], "--events-out", outputs[1], "--midi-out", outputs[2], "--quiet"]
    if program is not None:
        args = ["--program", program] + args
    run(args, folder)
    result = []
    for path in outputs:
        with open(path, "rb") as file:
            result.append(hashlib.sha256(file.read()).hexdigest())
        os.remove(path)
    return tuple(result)


def test(folder):
    subprocess.run(["csvmidi", "-", os.path.join(folder, "chords.mid")], input=chord_csv(), text=True, check=True)
    for program in PROGRAMS:
        for rate in RATES:
            for block in BLOCKS:
                key = (program, rate, block)
                found = hashes(folder, program, rate, block)
                if printing:
                    print(f"    {key!r}: {found!r},")
                    continue
                if key not in GOLDEN:
                    raise Failure(f"no recorded hashes for {key}")
                for what, actual, expected in zip(("WAV file", "event list", "MIDI file"), found, GOLDEN[key]):
                    check_equal(actual, expected, f"program {program}, {rate} Hz, block size {block}: {what}")


if __name__ == "__main__":
    printing = "--print" in sys.argv[2:]
    if printing:
        sys.argv.remove("--print")
    main(test)
