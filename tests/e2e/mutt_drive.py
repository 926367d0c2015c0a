#!/usr/bin/env python3
"""Drives mutt in a pseudo-terminal, and reads the messages it sends.

  mutt_drive.py compose MUTTRC OUTDIR [TO]  composes one message to TO
      (b@example.org if not given) and sends it: mutt adds a signature only
      when it composes interactively. The editor and sendmail the muttrc
      names do the rest; the message lands in OUTDIR.
  mutt_drive.py check MESSAGE SIGNATURE...  checks a sent message: LF only,
      UTF-8, and a body that ends in "-- " LF and the bytes of one SIGNATURE.
"""
import email
import email.policy
import os
import pty
import re
import select
import signal
import sys
import time


def compose(muttrc, outdir, to="b@example.org"):
    before = set(os.listdir(outdir))
    pid, fd = pty.fork()
    if pid == 0:
        env = dict(os.environ, TERM="xterm", LANG="C.UTF-8", LC_ALL="C.UTF-8")
        os.execvpe("mutt", ["mutt", "-n", "-F", muttrc, "-s", "test", to], env)
    screen = b""

    def wait_for(pattern, seconds):
        nonlocal screen
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            if re.search(pattern, screen):
                return True
            if select.select([fd], [], [], 0.1)[0]:
                try:
                    data = os.read(fd, 65536)
                except OSError:
                    return False
                if not data:
                    return False
                screen = (screen + data)[-20000:]
        return False

    sent = False
    try:
        # The recipient and subject prompts come filled in; the compose menu
        # comes once the editor has run, and "y" there sends.
        for prompt, key in ((rb"To:", b"\r"), (rb"Subject:", b"\r"), (rb"y:Send", b"y")):
            if not wait_for(prompt, 20):
                break
            screen = b""
            os.write(fd, key)
        else:
            # When the editor's change falls in the second mutt stamped the
            # body with, mutt asks whether to update its encoding: yes, its
            # default. Otherwise it ends at once, which ends this wait too.
            if wait_for(rb"Update encoding", 5):
                os.write(fd, b"\r")
            # mutt ends once sendmail has taken the message.
            wait_for(rb"\x00never", 30)
            sent = len(set(os.listdir(outdir)) - before) > 0
    finally:
        if not sent:
            text = re.sub(rb"\x1b(\[[0-9;?]*[A-Za-z]|[()][A-Z0-9]|[=>])", b" ", screen[-3000:])
            print("    | mutt's screen: " + text.decode("utf-8", "replace"))
        try:
            os.kill(pid, signal.SIGTERM)
        except ProcessLookupError:
            pass
        os.waitpid(pid, 0)
        os.close(fd)
    return 0 if sent else 1


def check(message_path, signature_paths):
    raw = open(message_path, "rb").read()
    wanted = [open(path, "rb").read() for path in signature_paths]
    faults = []
    if b"\r" in raw:
        faults.append("a CR byte in the message")
    msg = email.message_from_bytes(raw, policy=email.policy.compat32)
    ctype = msg.get("Content-Type", "")
    if not re.search(r"charset=\"?utf-8\"?", ctype, re.I):
        faults.append("Content-Type is %r" % ctype)
    body = msg.get_payload(decode=True)
    if b"\r" in body:
        faults.append("a CR in the decoded body")
    if not any(body.endswith(b"\n-- \n" + want) for want in wanted):
        faults.append("the body does not end in '-- ' and the signature:\n%r" % body[-400:])
    try:
        body.decode("utf-8")
    except UnicodeDecodeError:
        faults.append("the body is not UTF-8")
    for fault in faults:
        print("    | " + fault)
    return 1 if faults else 0


if __name__ == "__main__":
    if len(sys.argv) in (4, 5) and sys.argv[1] == "compose":
        sys.exit(compose(*sys.argv[2:]))
    if len(sys.argv) >= 4 and sys.argv[1] == "check":
        sys.exit(check(sys.argv[2], sys.argv[3:]))
    sys.exit(__doc__)
