#!/usr/bin/env python3
"""Plays UCI engines against each other, one game at a time, from varied openings with both
colours, and prints wins, draws and losses with the Elo difference and its 95% margin.

  match.py --engine1 "tarnwick=build/release/bin/tarnwick-uci" \
           --engine2 "stockfish=/usr/games/stockfish;UCI_LimitStrength=true;UCI_Elo=2200" \
           --games 100 --tc 10+0.1

An engine is NAME=COMMAND with ;OPTION=VALUE pairs sent by setoption. Every move is checked
for legality; a move past the clock loses on time. Games are written as PGN with --pgn."""

import argparse
import math
import os
import queue
import random
import shlex
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from referee import Board  # noqa: E402

# Short, well-known opening lines (both colours play each), so games differ from move one.
OPENINGS = [
    "e2e4 e7e5 g1f3 b8c6 f1b5 a7a6",
    "e2e4 e7e5 g1f3 b8c6 f1c4 f8c5",
    "e2e4 c7c5 g1f3 d7d6 d2d4 c5d4 f3d4 g8f6",
    "e2e4 c7c5 b1c3 b8c6 g2g3 g7g6",
    "e2e4 e7e6 d2d4 d7d5 b1c3 g8f6",
    "e2e4 c7c6 d2d4 d7d5 e4e5 c8f5",
    "e2e4 d7d6 d2d4 g8f6 b1c3 g7g6",
    "e2e4 d7d5 e4d5 d8d5 b1c3 d5a5",
    "d2d4 d7d5 c2c4 e7e6 b1c3 g8f6",
    "d2d4 d7d5 c2c4 c7c6 g1f3 g8f6",
    "d2d4 g8f6 c2c4 g7g6 b1c3 f8g7 e2e4 d7d6",
    "d2d4 g8f6 c2c4 e7e6 b1c3 f8b4",
    "d2d4 g8f6 c2c4 e7e6 g1f3 b7b6",
    "d2d4 f7f5 g2g3 g8f6 f1g2 g7g6",
    "c2c4 e7e5 b1c3 g8f6 g1f3 b8c6",
    "c2c4 c7c5 g1f3 g8f6 b1c3 b8c6",
    "g1f3 d7d5 g2g3 g8f6 f1g2 c7c6",
    "e2e4 e7e5 f2f4 e5f4 g1f3 g7g5",
    "e2e4 e7e5 g1f3 g8f6 f3e5 d7d6 e5f3 f6e4",
    "d2d4 d7d5 c1f4 g8f6 e2e3 c7c5",
    "e2e4 g7g6 d2d4 f8g7 b1c3 d7d6",
    "b2b3 e7e5 c1b2 b8c6 e2e3 d7d5",
    "e2e4 b8c6 d2d4 d7d5 b1c3 d5e4",
    "d2d4 g8f6 g1f3 e7e6 c1g5 h7h6",
    "e2e4 e7e5 b1c3 g8f6 f2f4 d7d5",
]


class Engine:
    def __init__(self, text):
        name, _, rest = text.partition("=")
        parts = rest.split(";")
        self.name = name
        self.command = shlex.split(parts[0])
        self.options = [p.split("=", 1) for p in parts[1:] if "=" in p]
        self.process = None

    def start(self):
        self.process = subprocess.Popen(self.command, stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL if not os.environ.get("MATCH_DEBUG") else None,
                                        text=True, bufsize=1)
        self.lines = queue.Queue()
        threading.Thread(target=self._pump, args=(self.process.stdout, self.lines),
                         daemon=True).start()
        self.send("uci")
        self.wait_for("uciok", 60)
        for name, value in self.options:
            self.send("setoption name %s value %s" % (name, value))
        self.ready()

    def send(self, line):
        if os.environ.get("MATCH_DEBUG"):
            print(">%s %s" % (self.name, line), file=sys.stderr)
        self.process.stdin.write(line + "\n")
        self.process.stdin.flush()

    @staticmethod
    def _pump(stream, lines):
        for line in stream:
            lines.put(line)
        lines.put(None)

    def read_line(self, deadline):
        remaining = deadline - time.monotonic()
        if remaining <= 0:
            return None
        try:
            line = self.lines.get(timeout=remaining)
        except queue.Empty:
            return None
        if line is None:
            raise EOFError(self.name + " quit")
        return line.strip()

    def wait_for(self, word, seconds):
        deadline = time.monotonic() + seconds
        while True:
            line = self.read_line(deadline)
            if line is None:
                raise TimeoutError(self.name + " did not answer " + word)
            if line.split()[:1] == [word]:
                return line

    def ready(self):
        self.send("isready")
        self.wait_for("readyok", 30)

    def stop(self):
        if self.process:
            try:
                self.send("quit")
                self.process.wait(timeout=2)
            except Exception:
                self.process.kill()
            self.process = None


def play_game(white, black, opening, base_ms, inc_ms, adjudicate, lowest_clock, nodes=0):
    board = Board()
    moves = []
    for m in opening.split():
        assert board.play(m), "bad opening move " + m
        moves.append(m)
    clocks = {True: base_ms, False: base_ms}
    lowest = {white.name: base_ms, black.name: base_ms}
    scores = []  # (white's view) per move
    for engine in (white, black):
        engine.send("ucinewgame")
        engine.ready()
    while True:
        result = board.outcome()
        if result:
            lowest_clock.update(lowest)
            return result, moves
        engine = white if board.white else black
        engine.send("position startpos moves " + " ".join(moves))
        started = time.monotonic()
        if nodes:
            engine.send("go nodes %d" % nodes)
            deadline = started + 60.0
        else:
            engine.send("go wtime %d btime %d winc %d binc %d" %
                        (clocks[True], clocks[False], inc_ms, inc_ms))
            deadline = started + clocks[board.white] / 1000.0 + 5.0
        best, score = None, None
        while best is None:
            line = engine.read_line(deadline)
            if line is None:
                break
            words = line.split()
            if words[:1] == ["info"] and "score" in words:
                i = words.index("score")
                kind, value = words[i + 1], int(words[i + 2])
                score = value if kind == "cp" else (100000 if value > 0 else -100000)
            elif words[:1] == ["bestmove"] and len(words) > 1:
                best = words[1]
        used = int((time.monotonic() - started) * 1000)
        loser = "0-1" if board.white else "1-0"
        if nodes:
            used = 0  # no clock: only a missing move loses
        if best is None or used > clocks[board.white]:
            return (loser, "%s lost on time (%s after %d ms of %d)" %
                    (engine.name, "no move" if best is None else best, used,
                     clocks[board.white])), moves
        lowest[engine.name] = min(lowest[engine.name], clocks[board.white] - used)
        clocks[board.white] += inc_ms - used
        if not board.play(best):
            return (loser, "%s played illegal move %s" % (engine.name, best)), moves
        moves.append(best)
        if score is not None:
            scores.append(score if not board.white else -score)  # board.white flipped
        if adjudicate and len(scores) >= 10:
            last = scores[-10:]
            if all(s >= 1000 for s in last):
                return ("1-0", "adjudicated"), moves
            if all(s <= -1000 for s in last):
                return ("0-1", "adjudicated"), moves
            if len(moves) >= 80 and all(abs(s) <= 8 for s in last):
                return ("1/2-1/2", "adjudicated"), moves
        if len(moves) >= 400:
            return ("1/2-1/2", "move limit"), moves
        lowest_clock.update(lowest)




def load_openings(path):
    """One opening a line, as moves in coordinate notation; # starts a comment."""
    openings = []
    with open(path) as f:
        for number, line in enumerate(f, 1):
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            board = Board()
            for m in line.split():
                if not board.play(m):
                    sys.exit("%s:%d: illegal move %s" % (path, number, m))
            openings.append(line)
    if not openings:
        sys.exit(path + ": no openings")
    return openings


def extend_opening(opening, plies, rng):
    """Adds random legal plies to an opening, so that games from the same line differ; both
    colours replay the same extension. A line that ends the game early is kept shorter."""
    board = Board()
    moves = opening.split()
    for m in moves:
        board.play(m)
    for _ in range(plies):
        if board.outcome():
            break
        legal = sorted(board.legal_moves())
        if not legal:
            break
        m = rng.choice(legal)
        board.play(m)
        moves.append(m)
    return " ".join(moves)


def write_pgn(path, white, black, result, reason, moves, round_no):
    with open(path, "a") as f:
        f.write('[Event "match"]\n[Round "%d"]\n[White "%s"]\n[Black "%s"]\n[Result "%s"]\n'
                '[Termination "%s"]\n\n%s %s\n\n' % (round_no, white, black, result, reason,
                                                   " ".join(moves), result))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--engine1", required=True)
    parser.add_argument("--engine2", required=True)
    parser.add_argument("--games", type=int, default=20)
    parser.add_argument("--tc", default="10+0.1", help="seconds+increment")
    parser.add_argument("--nodes", type=int, default=0,
                        help="search 'go nodes N' per move instead of playing on a clock")
    parser.add_argument("--openings", help="file of opening lines, one a line, coordinate moves")
    parser.add_argument("--random-plies", type=int, default=0,
                        help="random legal plies added after each opening line")
    parser.add_argument("--seed", type=int, default=1, help="seed of the random plies")
    parser.add_argument("--pgn")
    parser.add_argument("--no-adjudication", action="store_true")
    args = parser.parse_args()
    base, _, inc = args.tc.partition("+")
    base_ms, inc_ms = int(float(base) * 1000), int(float(inc or 0) * 1000)

    openings = load_openings(args.openings) if args.openings else OPENINGS
    rng = random.Random(args.seed)
    opening = None

    first, second = Engine(args.engine1), Engine(args.engine2)
    first.start()
    second.start()
    wins = draws = losses = 0
    results = []
    crashes = []
    least_left = base_ms
    try:
        for game in range(args.games):
            if game % 2 == 0:
                opening = extend_opening(openings[(game // 2) % len(openings)],
                                         args.random_plies, rng)
            first_white = game % 2 == 0
            white, black = (first, second) if first_white else (second, first)
            lowest_clock = {}
            try:
                (result, reason), moves = play_game(white, black, opening, base_ms, inc_ms,
                                                    not args.no_adjudication, lowest_clock,
                                                    args.nodes)
            except (EOFError, BrokenPipeError, TimeoutError) as error:
                # A game that an engine broke off is not scored; it is listed at the end and
                # both engines start afresh. Our engine crashing is a failure to be fixed.
                crashes.append("game %d: %s" % (game + 1, error))
                print("game %d: %s - %s not scored (%s)" % (game + 1, white.name, black.name,
                                                            error), flush=True)
                for e in (first, second):
                    e.stop()
                    e.start()
                continue
            least_left = min(least_left, lowest_clock.get(first.name, base_ms))
            if result == "1/2-1/2":
                draws += 1
                points = 0.5
            elif (result == "1-0") == first_white:
                wins += 1
                points = 1.0
            else:
                losses += 1
                points = 0.0
            results.append(points)
            print("game %d: %s - %s %s (%s)  [%s: +%d =%d -%d]" %
                  (game + 1, white.name, black.name, result, reason, first.name, wins, draws,
                   losses), flush=True)
            if args.pgn:
                write_pgn(args.pgn, white.name, black.name, result, reason, moves, game + 1)
            if "illegal" in reason or "time" in reason:
                # An engine that broke the rules is restarted so the next game is clean.
                for e in (first, second):
                    e.stop()
                    e.start()
    finally:
        first.stop()
        second.stop()
    n = len(results)
    score = sum(results) / n if n else 0.0
    variance = sum((r - score) ** 2 for r in results) / n if n else 0.0
    margin_p = 1.96 * math.sqrt(variance / n) if n else 0.0

    def to_elo(p):
        p = min(max(p, 1e-6), 1 - 1e-6)
        return -400 * math.log10(1 / p - 1)
    diff = to_elo(score)
    margin = (to_elo(min(score + margin_p, 1)) - to_elo(max(score - margin_p, 0))) / 2
    print("%s vs %s: games %d, +%d =%d -%d, score %.1f%%, Elo %+.0f +/- %.0f" %
          (first.name, second.name, n, wins, draws, losses, 100 * score, diff, margin))
    print("%s's least time left after a move: %d ms; games not scored: %d" %
          (first.name, least_left, len(crashes)))
    for line in crashes:
        print("  " + line)


if __name__ == "__main__":
    main()
