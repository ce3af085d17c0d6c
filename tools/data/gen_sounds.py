#!/usr/bin/env python3
"""Alarm tones synthesised with SoX: 16-bit mono PCM WAV, 22,050 Hz.

sounds/Alarm1.wav            counter alarm: three rising beeps
alarm/alarm_quicksetalarm.wav  quick alarm: two-tone chime
sounds/Chime.wav, sounds/Digital.wav, sounds/Gentle.wav  more alarm tones
The WAV header written by SoX carries no date, so runs are byte-identical;
dither is switched off (-D) because it adds random noise.
"""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from common import data_path, write_bytes  # noqa: E402

RATE = "22050"


def tone(tmp, name, freq, length, shape="sine", gain=-6, fade=0.01):
    path = os.path.join(tmp, name + ".wav")
    subprocess.run(["sox", "-D", "-n", "-r", RATE, "-c", "1", "-b", "16", path, "synth", str(length), shape,
                    str(freq), "gain", str(gain), "fade", "q", str(fade), str(length), str(fade)], check=True)
    return path


def silence(tmp, name, length):
    path = os.path.join(tmp, name + ".wav")
    subprocess.run(["sox", "-D", "-n", "-r", RATE, "-c", "1", "-b", "16", path, "trim", "0", str(length)],
                   check=True)
    return path


def join(tmp, parts, out_rel, extra=()):
    out = os.path.join(tmp, "out.wav")
    subprocess.run(["sox", "-D"] + parts + ["-r", RATE, "-c", "1", "-b", "16", out] + list(extra), check=True)
    with open(out, "rb") as f:
        write_bytes(data_path(*out_rel.split("/")), f.read())


def main():
    with tempfile.TemporaryDirectory() as tmp:
        # three rising beeps and a pause (the player repeats the file)
        parts = []
        for i, f in enumerate((880, 988, 1175)):
            parts += [tone(tmp, "b%d" % i, f, 0.16, "square", -14, 0.005), silence(tmp, "s%d" % i, 0.08)]
        parts.append(silence(tmp, "pause", 0.5))
        join(tmp, parts, "sounds/Alarm1.wav")

        # quick alarm: two-tone chime with a soft tail
        hi = tone(tmp, "hi", 1318.5, 0.45, "sine", -5, 0.01)
        lo = tone(tmp, "lo", 987.8, 0.7, "sine", -5, 0.01)
        join(tmp, [hi, lo, silence(tmp, "qp", 0.35)], "alarm/alarm_quicksetalarm.wav",
             ["fade", "q", "0", "-0", "0.3"])

        # chime: four descending bell-like notes
        notes = [tone(tmp, "c%d" % i, f, 0.5, "sine", -6, 0.005) for i, f in enumerate((1046.5, 880, 784, 659.3))]
        join(tmp, notes + [silence(tmp, "cp", 0.6)], "sounds/Chime.wav")

        # digital: fast double beeps
        parts = []
        for i in range(4):
            parts += [tone(tmp, "d%da" % i, 2000, 0.07, "square", -16, 0.003), silence(tmp, "d%db" % i, 0.06),
                      tone(tmp, "d%dc" % i, 2000, 0.07, "square", -16, 0.003), silence(tmp, "d%dd" % i, 0.3)]
        join(tmp, parts, "sounds/Digital.wav")

        # gentle: slow rising triad on a soft triangle wave
        parts = [tone(tmp, "g%d" % i, f, 0.6, "triangle", -10, 0.15) for i, f in enumerate((523.3, 659.3, 784, 1046.5))]
        join(tmp, parts + [silence(tmp, "gp", 0.8)], "sounds/Gentle.wav")
    print("sounds: 5 tones")


if __name__ == "__main__":
    main()
