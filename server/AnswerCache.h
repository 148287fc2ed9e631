#pragma once
// Finished answers kept in memory, for the heavy selections (a whole comune is a megabyte of
// packet). Every write to the archive bumps a generation number stored in the database, also
// when it comes from another process (import-taf); an answer is only reused within the
// generation it was built in.

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace tafserver {

class Database;

class AnswerCache
{
public:
    explicit AnswerCache(std::size_t maxBytes) : m_maxBytes(maxBytes) {}

    std::shared_ptr<const std::string> find(const std::string &key, long long generation);
    void insert(const std::string &key, long long generation, const std::string &answer);

private:
    std::mutex m_mutex;
    std::size_t m_maxBytes;
    std::size_t m_bytes = 0;
    long long m_generation = -1;
    std::unordered_map<std::string, std::shared_ptr<const std::string>> m_answers;
};

AnswerCache &answerCache();

long long dataGeneration(Database &db);
// Call inside the transaction of every write that changes what a selection answers.
void bumpDataGeneration(Database &db);

} // namespace tafserver
