// Random changes to a book for the crash test: the same seed gives the same changes, in the
// child that makes them and in the parent that checks what survived the kill.
#pragma once

#include "store/status.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <map>
#include <random>
#include <vector>

namespace gratinel {

class Module1;

namespace crash {

// Families and recipes as the book holds them, by record number.
struct Family {
    qint16 state = 0;
    QByteArray name; // the 128-byte field
};

struct Recipe {
    qint16 state = 0;
    qint32 family = 0;
    QByteArray title; // the 128-byte field
    QByteArray text;  // the bytes of GRTN3.DAT it points at
    QByteArray image; // the bytes of GRTN4.DAT it points at
};

struct Book {
    std::map<qint32, Family> families;
    std::map<qint32, Recipe> recipes;
    qint32 lastFamilyRecord = 1;
    qint32 lastRecipeRecord = 1;

    bool operator==(const Book &) const = default;
};

struct Change {
    enum Kind { AddFamily, AddRecipe, RenameFamily, ChangeRecipe, DeleteRecipe, DeleteFamily };
    Kind kind = AddFamily;
    qint32 record = 0;
    qint32 family = 0;
    QString name; // family name or recipe title
    QString text;
    QString image;
    std::vector<qint32> listed; // the family's recipes, for a family deletion

    QString describe() const;
};

// Reads every record of the book in dir, with the texts and image paths they point at.
// False (and why in error) when a file cannot be read or a range lies outside its file.
bool readBook(const QString &dir, Book &book, QString &error);

// Draws the next change from the book's present state. Changes keep the book openable:
// only families after record 17 and recipes after record 301 are deleted, and those
// first recipes only move between the first 16 families.
class Generator {
public:
    explicit Generator(quint64 seed) : rng_(seed) {}
    Change next(const Book &book);

private:
    int below(int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(rng_)); }
    QString words(int minChars, int maxChars);
    QString recipeText();
    QString imagePath();

    std::mt19937_64 rng_;
    int serial_ = 0;
};

// What the book holds once the change is made.
void apply(Book &book, const Change &change);
// Makes the change on the open book through the same store calls as the pages.
Status make(Module1 &m, const Change &change);

} // namespace crash
} // namespace gratinel
