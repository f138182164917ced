"""Chess rules for the match runner: enough to check every engine move for legality and to
end games by mate, stalemate, repetition, the fifty-move rule or bare material."""

START_FEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"

KNIGHT_STEPS = (33, 31, 18, 14, -33, -31, -18, -14)
KING_STEPS = (1, -1, 16, -16, 17, 15, -17, -15)
DIAGONALS = (17, 15, -17, -15)
LINES = (1, -1, 16, -16)


def square_name(sq):
    return "abcdefgh"[sq & 7] + str((sq >> 4) + 1)


def parse_square(text):
    return (int(text[1]) - 1) * 16 + "abcdefgh".index(text[0])


class Board:
    """A 0x88 board; pieces are letters, upper case for White."""

    def __init__(self, fen=START_FEN):
        fields = fen.split()
        self.squares = [None] * 128
        rank, file = 7, 0
        for c in fields[0]:
            if c == "/":
                rank, file = rank - 1, 0
            elif c.isdigit():
                file += int(c)
            else:
                self.squares[rank * 16 + file] = c
                file += 1
        self.white = fields[1] == "w"
        self.castling = "" if fields[2] == "-" else fields[2]
        self.ep = None if fields[3] == "-" else parse_square(fields[3])
        self.halfmoves = int(fields[4]) if len(fields) > 4 else 0
        self.history = [self.key()]

    def key(self):
        return (tuple(self.squares), self.white, self.castling, self.ep)

    def own(self, piece, white):
        return piece is not None and piece.isupper() == white

    def attacked(self, sq, by_white):
        for step in KNIGHT_STEPS:
            t = sq + step
            if not t & 0x88 and self.squares[t] == ("N" if by_white else "n"):
                return True
        for step in KING_STEPS:
            t = sq + step
            if not t & 0x88 and self.squares[t] == ("K" if by_white else "k"):
                return True
        pawn_from = (-15, -17) if by_white else (15, 17)
        for step in pawn_from:
            t = sq + step
            if not t & 0x88 and self.squares[t] == ("P" if by_white else "p"):
                return True
        for steps, pieces in ((DIAGONALS, "BQ"), (LINES, "RQ")):
            wanted = pieces if by_white else pieces.lower()
            for step in steps:
                t = sq + step
                while not t & 0x88:
                    p = self.squares[t]
                    if p is not None:
                        if p in wanted:
                            return True
                        break
                    t += step
        return False

    def king_square(self, white):
        king = "K" if white else "k"
        return self.squares.index(king)

    def in_check(self):
        return self.attacked(self.king_square(self.white), not self.white)

    def pseudo_moves(self):
        us = self.white
        moves = []
        for sq in range(128):
            p = self.squares[sq]
            if sq & 0x88 or p is None or p.isupper() != us:
                continue
            kind = p.upper()
            if kind == "P":
                up = 16 if us else -16
                last = 7 if us else 0
                start = 1 if us else 6
                t = sq + up
                if not t & 0x88 and self.squares[t] is None:
                    moves.extend(self._pawn_targets(sq, t, last))
                    if sq >> 4 == start and self.squares[t + up] is None:
                        moves.append(square_name(sq) + square_name(t + up))
                for side in (1, -1):
                    t = sq + up + side
                    if t & 0x88:
                        continue
                    target = self.squares[t]
                    if (target is not None and not self.own(target, us)) or t == self.ep:
                        moves.extend(self._pawn_targets(sq, t, last))
            elif kind in "NK":
                for step in KNIGHT_STEPS if kind == "N" else KING_STEPS:
                    t = sq + step
                    if not t & 0x88 and not self.own(self.squares[t], us):
                        moves.append(square_name(sq) + square_name(t))
            else:
                steps = {"B": DIAGONALS, "R": LINES, "Q": DIAGONALS + LINES}[kind]
                for step in steps:
                    t = sq + step
                    while not t & 0x88:
                        if self.own(self.squares[t], us):
                            break
                        moves.append(square_name(sq) + square_name(t))
                        if self.squares[t] is not None:
                            break
                        t += step
        moves.extend(self._castling_moves())
        return moves

    def _pawn_targets(self, sq, t, last):
        if t >> 4 == last:
            return [square_name(sq) + square_name(t) + q for q in "qrbn"]
        return [square_name(sq) + square_name(t)]

    def _castling_moves(self):
        us = self.white
        rank = 0 if us else 0x70
        rights = "KQ" if us else "kq"
        king = "K" if us else "k"
        moves = []
        if self.squares[rank + 4] != king or self.attacked(rank + 4, not us):
            return moves
        if rights[0] in self.castling and self.squares[rank + 5] is None and \
                self.squares[rank + 6] is None and not self.attacked(rank + 5, not us):
            moves.append(square_name(rank + 4) + square_name(rank + 6))
        if rights[1] in self.castling and self.squares[rank + 3] is None and \
                self.squares[rank + 2] is None and self.squares[rank + 1] is None and \
                not self.attacked(rank + 3, not us):
            moves.append(square_name(rank + 4) + square_name(rank + 2))
        return moves

    def legal_moves(self):
        legal = []
        for m in self.pseudo_moves():
            saved = self._save()
            self._apply(m)
            if not self.attacked(self.king_square(not self.white), self.white):
                legal.append(m)
            self._restore(saved)
        return legal

    def _save(self):
        return (list(self.squares), self.white, self.castling, self.ep, self.halfmoves,
                len(self.history))

    def _restore(self, saved):
        self.squares, self.white, self.castling, self.ep, self.halfmoves, n = saved
        del self.history[n:]

    def _apply(self, m):
        frm, to = parse_square(m[:2]), parse_square(m[2:4])
        p = self.squares[frm]
        captured = self.squares[to]
        self.halfmoves += 1
        if p.upper() == "P" or captured is not None:
            self.halfmoves = 0
        if p.upper() == "P" and to == self.ep:
            self.squares[to + (-16 if self.white else 16)] = None
        self.ep = None
        if p.upper() == "P" and abs(to - frm) == 32:
            self.ep = (to + frm) // 2
        if p.upper() == "K" and abs(to - frm) == 2:
            rook_from, rook_to = (frm + 3, frm + 1) if to > frm else (frm - 4, frm - 1)
            self.squares[rook_to] = self.squares[rook_from]
            self.squares[rook_from] = None
        self.squares[to] = p
        self.squares[frm] = None
        if len(m) == 5:
            self.squares[to] = m[4].upper() if self.white else m[4].lower()
        for sq, rights in ((0x04, "KQ"), (0x74, "kq"), (0x00, "Q"), (0x07, "K"),
                           (0x70, "q"), (0x77, "k")):
            if frm == sq or to == sq:
                self.castling = "".join(c for c in self.castling if c not in rights)
        self.white = not self.white
        self.history.append(self.key())

    def play(self, move):
        """Plays move (coordinate text) if legal; returns False otherwise."""
        move = move.strip().lower()
        if move not in self.legal_moves():
            return False
        self._apply(move)
        return True

    def insufficient_material(self):
        rest = [p for p in self.squares if p is not None and p.upper() != "K"]
        return not rest or (len(rest) == 1 and rest[0].upper() in "NB")

    def outcome(self):
        """None while the game goes on, else (result, reason)."""
        if not self.legal_moves():
            if self.in_check():
                return ("0-1" if self.white else "1-0", "checkmate")
            return ("1/2-1/2", "stalemate")
        if self.halfmoves >= 100:
            return ("1/2-1/2", "fifty moves")
        if self.history.count(self.history[-1]) >= 3:
            return ("1/2-1/2", "repetition")
        if self.insufficient_material():
            return ("1/2-1/2", "insufficient material")
        return None
