#include "Auth.h"

#include "Database.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/rand.h>

#include <array>
#include <charconv>
#include <ctime>
#include <mutex>
#include <stdexcept>
#include <unordered_map>

namespace tafserver {
namespace {

constexpr int kIterations = 120000;
constexpr int kSaltBytes = 16;
constexpr int kHashBytes = 32;
constexpr std::string_view kScheme = "pbkdf2-sha256";

std::string toHex(const unsigned char *data, std::size_t size)
{
    static constexpr char digits[] = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < size; ++i) {
        out += digits[data[i] >> 4];
        out += digits[data[i] & 15];
    }
    return out;
}

std::string derive(std::string_view password, std::string_view saltHex, int iterations)
{
    std::array<unsigned char, kHashBytes> key{};
    if (PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()),
                          reinterpret_cast<const unsigned char *>(saltHex.data()),
                          static_cast<int>(saltHex.size()), iterations, EVP_sha256(),
                          static_cast<int>(key.size()), key.data()) != 1)
        throw std::runtime_error("PBKDF2 non disponibile");
    return toHex(key.data(), key.size());
}

bool equalConstantTime(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && CRYPTO_memcmp(a.data(), b.data(), a.size()) == 0;
}

// Verified (stored hash, password digest) pairs; a per-process salt keeps the digests useless
// outside this process.
class VerifiedCache
{
public:
    VerifiedCache() { RAND_bytes(m_salt.data(), static_cast<int>(m_salt.size())); }

    bool contains(std::string_view stored, std::string_view password)
    {
        const std::lock_guard lock(m_mutex);
        const auto it = m_entries.find(std::string(stored));
        return it != m_entries.end() && equalConstantTime(it->second, digest(password));
    }

    void insert(std::string_view stored, std::string_view password)
    {
        const std::lock_guard lock(m_mutex);
        if (m_entries.size() > 10000)
            m_entries.clear();
        m_entries[std::string(stored)] = digest(password);
    }

private:
    std::string digest(std::string_view password) const
    {
        std::array<unsigned char, EVP_MAX_MD_SIZE> out{};
        unsigned int size = 0;
        HMAC(EVP_sha256(), m_salt.data(), static_cast<int>(m_salt.size()),
             reinterpret_cast<const unsigned char *>(password.data()), password.size(), out.data(),
             &size);
        return std::string(reinterpret_cast<const char *>(out.data()), size);
    }

    std::array<unsigned char, 32> m_salt{};
    std::mutex m_mutex;
    std::unordered_map<std::string, std::string> m_entries;
};

std::string utcNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return stamp;
}

VerifiedCache &verifiedCache()
{
    static VerifiedCache cache;
    return cache;
}

} // namespace

std::string hashPassword(std::string_view password)
{
    std::array<unsigned char, kSaltBytes> salt{};
    if (RAND_bytes(salt.data(), static_cast<int>(salt.size())) != 1)
        throw std::runtime_error("generatore casuale non disponibile");
    const std::string saltHex = toHex(salt.data(), salt.size());
    return std::string(kScheme) + "$" + std::to_string(kIterations) + "$" + saltHex + "$" +
           derive(password, saltHex, kIterations);
}

bool verifyPassword(std::string_view password, std::string_view stored)
{
    // scheme$iterations$salt$hash
    const std::size_t a = stored.find('$');
    const std::size_t b = stored.find('$', a + 1);
    const std::size_t c = stored.find('$', b + 1);
    if (a == std::string_view::npos || b == std::string_view::npos || c == std::string_view::npos ||
        stored.substr(0, a) != kScheme)
        return false;
    int iterations = 0;
    const std::string_view count = stored.substr(a + 1, b - a - 1);
    if (std::from_chars(count.data(), count.data() + count.size(), iterations).ec != std::errc() ||
        iterations < 1)
        return false;
    return equalConstantTime(derive(password, stored.substr(b + 1, c - b - 1), iterations),
                             stored.substr(c + 1));
}

void addUser(Database &db, std::string_view email, std::string_view password)
{
    db.prepared("INSERT INTO utenti(email, hash, attivo, creato) VALUES (?1, ?2, 1, ?3) "
                "ON CONFLICT(email) DO UPDATE SET hash = excluded.hash, attivo = 1")
        .bind(1, email)
        .bind(2, hashPassword(password))
        .bind(3, utcNow())
        .run();
}

bool createUser(Database &db, std::string_view email, std::string_view password,
                std::string_view name)
{
    db.prepared("INSERT INTO utenti(email, hash, attivo, creato, nome) VALUES (?1, ?2, 1, ?3, ?4) "
                "ON CONFLICT(email) DO NOTHING")
        .bind(1, email)
        .bind(2, hashPassword(password))
        .bind(3, utcNow())
        .bind(4, name)
        .run();
    return db.changes() == 1;
}

Credentials checkCredentials(Database &db, std::string_view email, std::string_view password)
{
    if (email.empty())
        return Credentials::Unknown;
    Statement &q = db.prepared("SELECT hash, attivo FROM utenti WHERE email = ?1");
    q.bind(1, email);
    if (!q.step())
        return Credentials::Unknown;
    const std::string stored(q.text(0));
    const bool active = q.integer(1) != 0;
    q.reset();
    if (verifiedCache().contains(stored, password))
        return active ? Credentials::Ok : Credentials::Disabled;
    if (!verifyPassword(password, stored))
        return Credentials::Unknown;
    verifiedCache().insert(stored, password);
    return active ? Credentials::Ok : Credentials::Disabled;
}

} // namespace tafserver
