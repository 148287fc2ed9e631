#include "AnswerCache.h"

#include "Database.h"

namespace tafserver {

std::shared_ptr<const std::string> AnswerCache::find(const std::string &key, long long generation)
{
    const std::lock_guard lock(m_mutex);
    if (generation != m_generation)
        return nullptr;
    const auto it = m_answers.find(key);
    return it == m_answers.end() ? nullptr : it->second;
}

void AnswerCache::insert(const std::string &key, long long generation, const std::string &answer)
{
    const std::lock_guard lock(m_mutex);
    if (generation < m_generation)
        return; // built from data already superseded
    if (generation != m_generation || m_bytes + answer.size() > m_maxBytes) {
        m_answers.clear();
        m_bytes = 0;
        m_generation = generation;
    }
    if (answer.size() > m_maxBytes)
        return;
    auto &slot = m_answers[key];
    if (slot)
        m_bytes -= slot->size();
    slot = std::make_shared<const std::string>(answer);
    m_bytes += answer.size();
}

AnswerCache &answerCache()
{
    static AnswerCache cache(64 * 1024 * 1024);
    return cache;
}

long long dataGeneration(Database &db)
{
    Statement &q =
        db.prepared("SELECT CAST(valore AS INTEGER) FROM meta WHERE chiave = 'generazione'");
    const long long generation = q.step() ? q.integer(0) : 0;
    q.reset();
    return generation;
}

void bumpDataGeneration(Database &db)
{
    db.prepared("INSERT INTO meta(chiave, valore) VALUES ('generazione', '1') "
                "ON CONFLICT(chiave) DO UPDATE SET valore = CAST(valore AS INTEGER) + 1")
        .run();
}

} // namespace tafserver
