#pragma once

// The generated address book the benches read: cards as a phone or CardDAV server writes them,
// with accented names, grouped labels, every eighth card with a small photo and every card with
// a folded note, so the reader passes over what it does not keep.
#include <fstream>
#include <string>

namespace BenchCards {

inline const char* const kGiven[] = {"Anna",  "Bruno",   "Chloé", "Dmitri", "Eva",   "François",
                                     "Grace", "Hiroshi", "Inês",  "João",   "Karin", "Lars",
                                     "Mía",   "Nikolaj", "Olga",  "Pedro"};
inline const char* const kFamily[] = {"Silva",  "Müller", "García",    "Smith",   "Nowak",    "Rossi",
                                      "Dubois", "Yılmaz", "Johansson", "O'Brien", "Kowalski", "Santos",
                                      "Novák",  "Tanaka", "Berg",      "Costa"};
inline const char* const kCompanies[] = {"Northwind", "Contoso Ltd.", "Fabrikam", "Tailspin Toys",
                                         "Adventure Works"};

inline std::string uid(int n) {
    return std::to_string(100000000 + n) + "-bench";
}

// Card `n`; `edit` changes its note, keeping everything the panel shows.
inline std::string card(int n, int edit = 0) {
    const std::string given = kGiven[n % 16];
    const std::string family = kFamily[(n / 16) % 16];
    std::string card = "BEGIN:VCARD\r\nVERSION:3.0\r\n";
    card += "UID:" + uid(n) + "\r\n";
    card += "N:" + family + ";" + given + ";;;\r\n";
    card += "FN:" + given + " " + family + " " + std::to_string(n) + "\r\n";
    if (n % 3 == 0)
        card += "ORG:" + std::string(kCompanies[n % 5]) + ";Sales\r\nTITLE:Account Manager\r\n";
    card += "item1.TEL;type=pref:+1 (555) " + std::to_string(1000000 + n).substr(1) + "\r\n";
    card += "item1.X-ABLabel:_$!<Mobile>!$_\r\n";
    if (n % 2 == 0)
        card += "TEL;type=WORK;type=VOICE:+44 20 7946 " + std::to_string(10000 + n % 9000).substr(1) + "\r\n";
    card += "EMAIL;type=INTERNET;type=HOME:person" + std::to_string(n) + "@example.com\r\n";
    if (n % 4 == 0)
        card += "BDAY:19" + std::to_string(50 + n % 50) + "-0" + std::to_string(1 + n % 9) + "-1" +
                std::to_string(n % 10) + "\r\n";
    if (n % 8 == 0) {
        // A contact photo: about 3 KB of base64, folded as writers fold it.
        card += "PHOTO;ENCODING=b;TYPE=JPEG:";
        for (int line = 0; line < 40; ++line)
            card +=
                (line == 0 ? "" : " ") + std::string(74, static_cast<char>('A' + (n + line) % 26)) + "\r\n";
    }
    card += "NOTE:A note long enough to be folded over two lines of the file, as address books\r\n"
            "  write them (" +
            std::to_string(edit) + ").\r\n";
    card += "END:VCARD\r\n";
    return card;
}

// The file of card `n` in a synced collection of one file per card, below the contacts folder.
inline std::string cardFile(int n) {
    return "collection/" + std::to_string(n) + ".vcf";
}

inline void writeCard(const std::string& folder, int n, int edit = 0) {
    std::ofstream(folder + "/" + cardFile(n), std::ios::binary) << card(n, edit);
}

} // namespace BenchCards
