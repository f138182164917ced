#include "tune.h"

#include "evaluate.h"
#include "position.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <istream>
#include <ostream>

namespace tarnwick {

namespace {

constexpr int COUNT = EVAL_PARAM_COUNT;
constexpr std::size_t MAX_MESSAGES = 10;

std::string trimmed(const std::string& text) {
    const char* space = " \t\r\n";
    std::size_t begin = text.find_first_not_of(space);
    if (begin == std::string::npos) return {};
    return text.substr(begin, text.find_last_not_of(space) - begin + 1);
}

bool parseResult(const std::string& text, float& result) {
    if (text == "1.0" || text == "1") {
        result = 1;
    } else if (text == "0.5") {
        result = 0.5f;
    } else if (text == "0.0" || text == "0") {
        result = 0;
    } else {
        return false;
    }
    return true;
}

// Weights that must not move: the middle-game pawn is the unit everything else is measured in,
// and the king's material never counts.
bool isFixed(int index) {
    return index == term::MATERIAL + PAWN || index == COUNT + term::MATERIAL + PAWN ||
           index == term::MATERIAL + KING || index == COUNT + term::MATERIAL + KING;
}

double expectation(double eval, double k) {
    return 1.0 / (1.0 + std::pow(10.0, -k * eval / 400.0));
}

} // namespace

void readTuningSet(std::istream& in, TuningSet& set, std::ostream& errors) {
    std::string line;
    std::size_t lineNumber = 0;
    Position pos;
    EvalTrace trace;
    auto reject = [&](const char* why) {
        if (++set.malformed <= MAX_MESSAGES)
            errors << "line " << lineNumber << ": " << why << ", skipped\n";
    };
    while (std::getline(in, line)) {
        ++lineNumber;
        if (trimmed(line).empty()) continue;
        std::size_t bar = line.rfind('|');
        float result = 0;
        if (bar == std::string::npos) {
            reject("no '|' before the result");
            continue;
        }
        if (!parseResult(trimmed(line.substr(bar + 1)), result)) {
            reject("the result is not 1.0, 0.5 or 0.0");
            continue;
        }
        // Newer lines carry the search's score between the position and the result.
        if (!pos.setFen(trimmed(line.substr(0, line.find('|'))))) {
            reject("not a position");
            continue;
        }
        evaluateTraced(pos, trace);
        if (trace.drawn) {
            ++set.drawn;
            continue;
        }
        TuningPosition entry;
        entry.first = uint32_t(set.terms.size());
        for (int i = 0; i < COUNT; ++i)
            if (trace.coefficient[i])
                set.terms.push_back({uint16_t(i), int16_t(trace.coefficient[i])});
        entry.count = uint16_t(set.terms.size() - entry.first);
        entry.phase = uint8_t(trace.phase);
        entry.scaleWhite = uint8_t(trace.scaleWhite);
        entry.scaleBlack = uint8_t(trace.scaleBlack);
        entry.result = result;
        set.positions.push_back(entry);
    }
    if (set.malformed > MAX_MESSAGES) errors << set.malformed << " malformed lines in all\n";
}

TuningWeights currentWeights() {
    TuningWeights weights(2 * COUNT);
    for (int i = 0; i < COUNT; ++i) {
        weights[i] = evalWeight(i).mg;
        weights[COUNT + i] = evalWeight(i).eg;
    }
    return weights;
}

namespace {

struct Blend {
    double mg, eg, eval; // eval from White's side, after the scale
    double scale;
};

Blend blend(const TuningSet& set, const TuningPosition& p, const TuningWeights& w) {
    double mg = 0, eg = 0;
    for (uint32_t i = p.first; i < p.first + p.count; ++i) {
        const TuningTerm& t = set.terms[i];
        mg += w[t.index] * t.coefficient;
        eg += w[COUNT + t.index] * t.coefficient;
    }
    double eval = (mg * p.phase + eg * (24 - p.phase)) / 24;
    double scale = (eval > 0 ? p.scaleWhite : p.scaleBlack) / 4.0;
    return {mg, eg, eval * scale, scale};
}

} // namespace

double tunedEvaluation(const TuningSet& set, const TuningPosition& position,
                       const TuningWeights& weights) {
    return blend(set, position, weights).eval;
}

double meanError(const TuningSet& set, const TuningWeights& weights, double k) {
    if (set.positions.empty()) return 0;
    double sum = 0;
    for (const TuningPosition& p : set.positions) {
        double diff = p.result - expectation(tunedEvaluation(set, p, weights), k);
        sum += diff * diff;
    }
    return sum / double(set.positions.size());
}

double fitScalingConstant(const TuningSet& set, const TuningWeights& weights) {
    // The error is smooth with one minimum in K: a golden-section search finds it.
    std::vector<double> evals;
    evals.reserve(set.positions.size());
    for (const TuningPosition& p : set.positions)
        evals.push_back(tunedEvaluation(set, p, weights));
    auto error = [&](double k) {
        double sum = 0;
        for (std::size_t i = 0; i < evals.size(); ++i) {
            double diff = set.positions[i].result - expectation(evals[i], k);
            sum += diff * diff;
        }
        return sum;
    };
    const double ratio = (std::sqrt(5.0) - 1) / 2;
    double low = 0.05, high = 5.0;
    for (int step = 0; step < 60; ++step) {
        double a = high - ratio * (high - low), b = low + ratio * (high - low);
        if (error(a) < error(b))
            high = b;
        else
            low = a;
    }
    return (low + high) / 2;
}

double fitWeights(const TuningSet& set, TuningWeights& weights, double k,
                  const TuningOptions& options) {
    const std::size_t size = weights.size();
    std::vector<double> gradient(size), moment(size, 0), velocity(size, 0);
    const double beta1 = 0.9, beta2 = 0.999, epsilon = 1e-8;
    const double n = double(std::max<std::size_t>(set.positions.size(), 1));
    const TuningWeights prior = weights;
    const double pull = 2 * options.regularisation / (100.0 * 100.0);
    double error = meanError(set, weights, k);
    for (int epoch = 1; epoch <= options.epochs; ++epoch) {
        std::fill(gradient.begin(), gradient.end(), 0.0);
        double sum = 0;
        for (const TuningPosition& p : set.positions) {
            Blend b = blend(set, p, weights);
            double e = expectation(b.eval, k);
            sum += (p.result - e) * (p.result - e);
            // d(error)/d(eval), then through the scale and the phase blend to each weight.
            double slope = -2 * (p.result - e) * e * (1 - e) * k * std::log(10.0) / 400 * b.scale;
            double toMg = slope * p.phase / 24, toEg = slope * (24 - p.phase) / 24;
            for (uint32_t i = p.first; i < p.first + p.count; ++i) {
                const TuningTerm& t = set.terms[i];
                gradient[t.index] += toMg * t.coefficient;
                gradient[COUNT + t.index] += toEg * t.coefficient;
            }
        }
        error = sum / n;
        if (options.report) options.report(epoch, error, weights);
        double correction1 = 1 - std::pow(beta1, epoch), correction2 = 1 - std::pow(beta2, epoch);
        for (std::size_t i = 0; i < size; ++i) {
            if (isFixed(int(i))) continue;
            double g = gradient[i] / n + pull * (weights[i] - prior[i]);
            moment[i] = beta1 * moment[i] + (1 - beta1) * g;
            velocity[i] = beta2 * velocity[i] + (1 - beta2) * g * g;
            weights[i] -= options.rate * (moment[i] / correction1) /
                          (std::sqrt(velocity[i] / correction2) + epsilon);
        }
    }
    return meanError(set, weights, k);
}

TuningSet splitTail(TuningSet& set, double fraction) {
    TuningSet tail;
    std::size_t keep = set.positions.size() -
                       std::size_t(double(set.positions.size()) * std::clamp(fraction, 0.0, 1.0));
    tail.terms = set.terms;
    tail.positions.assign(set.positions.begin() + keep, set.positions.end());
    set.positions.resize(keep);
    return tail;
}

void centrePieceSquares(TuningWeights& weights) {
    for (int type = PAWN; type <= QUEEN; ++type) {
        // Pawns never stand on the first or last rank.
        int from = type == PAWN ? 8 : 0, to = type == PAWN ? 56 : 64;
        for (int half : {0, COUNT}) {
            double mean = 0;
            for (int sq = from; sq < to; ++sq)
                mean += weights[half + term::PIECE_SQUARE + type * 64 + sq];
            mean /= to - from;
            if (isFixed(half + term::MATERIAL + type)) continue;
            for (int sq = from; sq < to; ++sq)
                weights[half + term::PIECE_SQUARE + type * 64 + sq] -= mean;
            weights[half + term::MATERIAL + type] += mean;
        }
    }
}

void writeWeights(std::ostream& out, const TuningWeights& weights,
                  const std::vector<std::string>& comment) {
    for (const std::string& line : comment)
        out << "// " << line << '\n';
    out << "// clang-format off\nconstexpr Score EVAL_WEIGHTS[EVAL_PARAM_COUNT] = {\n";
    for (const EvalTermInfo& info : EVAL_TERMS) {
        out << "    // " << info.name << '\n';
        for (int i = 0; i < info.size; i += 8) {
            out << "   ";
            for (int j = i; j < std::min(i + 8, info.size); ++j)
                out << " {" << std::lround(weights[info.first + j]) << ", "
                    << std::lround(weights[COUNT + info.first + j]) << "},";
            out << '\n';
        }
    }
    out << "};\n// clang-format on\n";
}

} // namespace tarnwick
