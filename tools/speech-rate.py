#!/usr/bin/env python3
"""Measures how fast the real Russian voice reads, in words a minute.

A private speech-dispatcher with Debian's espeak-ng module reads every text of
the sample stories at each rate given (speech-dispatcher's rate, -100 to 100:
Qt's rate times 100), its sound written by ALSA's file plugin into a WAV file
instead of a sound card; the words over the seconds of sound give the rate.
    tools/speech-rate.py RATE...        e.g. tools/speech-rate.py 0 -20 -45
Needs speech-dispatcher, speech-dispatcher-espeak-ng and spd-say."""

import glob
import os
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def texts():
    for path in sorted(glob.glob(os.path.join(ROOT, "samples", "Рассказы", "*.txt"))):
        with open(path, encoding="cp1251") as f:
            yield from (line.strip() for line in f if line.strip())


def samples(wav):
    """16-bit mono samples written so far, and their rate. The file plugin
    leaves the header's sizes empty and keeps the file open between texts,
    so its growth counts."""
    if not os.path.exists(wav):
        return 0, 1
    with open(wav, "rb") as f:
        header = f.read(44)
    return (os.path.getsize(wav) - 44) // 2, int.from_bytes(header[24:28], "little")


def main(rates):
    work = tempfile.mkdtemp(prefix="speech-rate.")
    home, conf = os.path.join(work, "home"), os.path.join(work, "conf")
    os.makedirs(os.path.join(conf, "modules"))
    os.makedirs(home)
    wav = os.path.join(work, "out.wav")
    with open(os.path.join(home, ".asoundrc"), "w") as f:
        f.write('pcm.wavfile { type file slave.pcm "null" file "%s" format "wav" }\n' % wav)
    with open(os.path.join(conf, "speechd.conf"), "w") as f:
        f.write('AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"\nDefaultModule espeak-ng\n'
                'DefaultLanguage "ru"\nAudioOutputMethod "alsa"\nAudioALSADevice "wavfile"\n'
                'LogDir "%s"\n' % work)
    with open("/etc/speech-dispatcher/modules/espeak-ng.conf") as source:
        with open(os.path.join(conf, "modules", "espeak-ng.conf"), "w") as f:
            f.write(source.read())
    socket = os.path.join(work, "sock")
    env = dict(os.environ, HOME=home, SPEECHD_ADDRESS="unix_socket:" + socket)
    daemon = subprocess.Popen(["speech-dispatcher", "-s", "-t", "0", "-C", conf, "-P",
                               os.path.join(work, "pid"), "-c", "unix_socket", "-S", socket],
                              env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        for _ in range(100):
            if os.path.exists(socket):
                break
            time.sleep(0.1)
        for rate in rates:
            words = sound = 0.0
            for text in texts():
                before, _ = samples(wav)
                subprocess.run(["spd-say", "-w", "-l", "ru", "-r", str(rate), text], env=env,
                               check=True, timeout=120)
                words += len(text.split())
                after, per_second = samples(wav)
                sound += (after - before) / per_second
            print(f"rate {rate:4}: {words:.0f} words in {sound:.1f} s: "
                  f"{words / sound * 60:.0f} words a minute")
    finally:
        daemon.terminate()
        daemon.wait()


if __name__ == "__main__":
    main([int(rate) for rate in sys.argv[1:]] or [0])
