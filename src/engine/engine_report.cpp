#include "engine/engine_report.h"

#include <algorithm>
#include <cstring>

#include "engine/engine_line.h"
#include "platform/kernel/clock.h"
#include "rules/notation.h"

CEngineReport engineReport;

namespace {

// The panel shows nothing new until this long after a search was asked for.
constexpr uint32_t FIRST_REPORT_DELAY_MS = 100;

template <uint32_t Size> void copyText(char (&to)[Size], const char* from) {
    const size_t length = from ? std::min<size_t>(std::strlen(from), Size - 1) : 0;
    if (length > 0) std::memcpy(to, from, length);
    to[length] = 0;
}

void clearLineOf(EngineReport& report) {
    report.pvText[0] = 0;
    report.pvSan[0] = 0;
    report.depth = 0;
    report.selectiveDepth = 0;
    report.pvDepth = 0;
    report.score = 0;
}

void onNodes(uint32_t low, uint32_t high) {
    engineReport.onNodes(low, high);
}
void onDepth(int32_t depth, int32_t selectiveDepth) {
    engineReport.onDepth(depth, selectiveDepth);
}
void onCurrentMove(const char* move, int32_t index, int32_t count) {
    engineReport.onCurrentMove(move, index, count);
}
void onPrincipalVariation(const char* line, int32_t score) {
    engineReport.onPrincipalVariation(line, score);
}
void onExtra(int32_t value) {
    if (value == ENGINE_EXTRA_FAILED) engineReport.onEngineFailed();
}

} // namespace

EngineReport CEngineReport::snapshot() const {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_report;
}

void CEngineReport::searchRequested(uint32_t now) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_report.pvText[0] = 0;
    m_report.pvSan[0] = 0;
    m_report.reportStartTick = now;
    m_report.lastReportTick = now + FIRST_REPORT_DELAY_MS;
}

void CEngineReport::clearLine() {
    std::lock_guard<std::mutex> guard(m_lock);
    clearLineOf(m_report);
}

void CEngineReport::clear(uint32_t now) {
    std::lock_guard<std::mutex> guard(m_lock);
    clearLineOf(m_report);
    m_report.moveIndex = 0;
    m_report.moveCount = 0;
    m_report.nodesLow = 0;
    m_report.nodesHigh = 0;
    m_report.currentMoveText[0] = 0;
    m_report.currentMoveSan[0] = 0;
    m_report.reportStartTick = now;
    m_report.lastReportTick = now + FIRST_REPORT_DELAY_MS;
}

void CEngineReport::beginSearch(const CPosition& position, int32_t firstPly, uint32_t now) {
    m_position = position;
    m_firstPly = firstPly;
    std::lock_guard<std::mutex> guard(m_lock);
    // Whatever line is shown when this search ends is this search's own.
    m_report.pvText[0] = 0;
    m_report.pvSan[0] = 0;
    m_report.busy = true;
    m_report.searchStartTick = now;
}

void CEngineReport::endSearch(uint32_t now) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_report.busy = false;
    m_report.searchEndTick = now;
}

void CEngineReport::onNodes(uint32_t low, uint32_t high) {
    const uint32_t now = platform::tickCount();
    std::lock_guard<std::mutex> guard(m_lock);
    m_report.nodesLow = low;
    m_report.nodesHigh = high;
    m_report.lastReportTick = now;
}

void CEngineReport::onDepth(int32_t depth, int32_t selectiveDepth) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_report.depth = depth;
    m_report.selectiveDepth = selectiveDepth;
}

void CEngineReport::onCurrentMove(const char* move, int32_t index, int32_t count) {
    const CMove found = engineMove(m_position, move);
    const CText san = found == NO_MOVE ? CText(move ? move : "") : sanText(m_position, found, true);
    std::lock_guard<std::mutex> guard(m_lock);
    m_report.moveIndex = index;
    m_report.moveCount = count;
    copyText(m_report.currentMoveText, move);
    copyText(m_report.currentMoveSan, san.c_str());
}

void CEngineReport::onPrincipalVariation(const char* line, int32_t score) {
    const CText text = boundedLine(line, LINE_TEXT_SIZE - 1);
    const CText san = numberedSanLine(m_position, m_firstPly, text.c_str(), LINE_TEXT_SIZE - 1);
    std::lock_guard<std::mutex> guard(m_lock);
    m_report.score = score;
    copyText(m_report.pvText, text.c_str());
    copyText(m_report.pvSan, san.c_str());
    m_report.pvDepth = m_report.depth;
}

EngineCallbacks engineCallbacks() {
    return EngineCallbacks{0, onNodes, onDepth, onCurrentMove, onPrincipalVariation, onExtra};
}
