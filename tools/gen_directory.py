#!/usr/bin/env python3
"""Writes directory/records_data.h, the compiled-in subscriber table of Заряй.

All of it is made up: surnames, initials and addresses are drawn from fixed lists
with a fixed seed, so the output is the same on every run and names no real person.
The shape of the table (block ranges, counts of empty houses, flats, shared numbers)
is what the program and its tests rely on, so it is asserted here before writing.

Usage: tools/gen_directory.py [output]   (default: directory/records_data.h)
"""

import bisect
import collections
import os
import random
import re
import sys

SEED = 1962

BLOCK1_SLOTS = 109  # numbers 52102..52259, strictly alphabetical
BLOCK1_NUMBERS = (52102, 52259)
BLOCK2_SLOTS = 1681  # numbers 21002..23398, alphabetical but for late additions
BLOCK2_NUMBERS = (21002, 23398)
LISTED = BLOCK1_SLOTS + BLOCK2_SLOTS  # 1790 complete records
INCOMPLETE = 10  # four-digit numbers with initials only
TOTAL = LISTED + INCOMPLETE  # 1800

EMPTY_HOUSES = 55
EMPTY_HOUSES_OUTLYING = 48
LATE_ADDITIONS = 5

# Town streets with their subscriber counts, biggest first; the order also decides
# which streets get the long numbers of the newer exchange (block 1).
TOWN_STREETS = [
    ("Центральная", 104), ("Советская", 90), ("Ленина", 84), ("Лесная", 72),
    ("Садовая", 66), ("Школьная", 60), ("Молодёжная", 55), ("Набережная", 51),
    ("Полевая", 47), ("Заречная", 44), ("Мира", 42), ("Комсомольская", 40),
    ("Октябрьская", 38), ("Пионерская", 36), ("Луговая", 34), ("Новая", 33),
    ("Строителей", 32), ("Первомайская", 31), ("Гагарина", 31), ("Пролетарская", 30),
    ("Кооперативная", 29), ("Колхозная", 28), ("Рабочая", 27), ("Северная", 26),
    ("Южная", 25), ("Восточная", 24), ("Западная", 24), ("Береговая", 23),
    ("Речная", 22), ("Озёрная", 21), ("Сосновая", 21), ("Берёзовая", 20),
    ("Зелёная", 20), ("Железнодорожная", 19), ("Вокзальная", 18), ("Почтовая", 18),
    ("Больничная", 17), ("Мельничная", 16), ("Кирпичная", 16), ("Нагорная", 15),
    ("Пушкина", 15), ("Чапаева", 14), ("Кирова", 14), ("Калинина", 13),
    ("Свердлова", 13), ("Фрунзе", 12), ("Чкалова", 12), ("Красноармейская", 11),
    ("Партизанская", 11), ("Горная", 10),
    ("1 Мая", 18), ("8 Марта", 15), ("50 лет Октября", 20), ("40 лет Победы", 12),
    ("пер. Школьный", 9), ("пер. Садовый", 8), ("пер. Почтовый", 7), ("пер. Глухой", 6),
    ("им. Жукова", 10), ("им. Космонавтов", 9),
]
# Villages and settlements served by the same exchange; many houses there have no
# number in the records.
OUTLYING_STREETS = [
    ("дер. Берёзовка", 14), ("дер. Ключи", 6), ("дер. Малиновка", 11),
    ("дер. Сосновка", 9), ("дер. Выселки", 4), ("пос. Лесной", 15),
    ("пос. Торфяной", 5), ("пос. Заречный", 12), ("с. Покровское", 16),
    ("с. Никольское", 10),
]
OUTLYING_PREFIXES = ("дер. ", "пос. ", "с. ")

# Blocks of flats: (street, house, flats). Everything else is a private house.
FLAT_HOUSES = [
    ("Центральная", "5", [2, 7, 10, 15, 23]),
    ("Советская", "14", [1, 4, 9, 12]),
    ("Ленина", "3", [6, 11, 18, 31, 45]),
    ("Молодёжная", "8", [3, 16]),
    ("Строителей", "2", [87, 120]),
]
# One street must carry both "12" and "12-б" so that house search can tell them apart.
TWIN_HOUSES = ("Лесная", ["12", "12-б"])

# Masculine base forms, roughly most common first. The feminine form is derived.
SURNAMES = """
Иванов Смирнов Кузнецов Попов Васильев Петров Соколов Михайлов Новиков Фёдоров
Морозов Волков Алексеев Лебедев Семёнов Егоров Павлов Козлов Степанов Николаев
Орлов Андреев Макаров Никитин Захаров Зайцев Соловьёв Борисов Яковлев Григорьев
Романов Воробьёв Сергеев Кузьмин Фролов Александров Дмитриев Королёв Гусев Киселёв
Ильин Максимов Поляков Сорокин Виноградов Ковалёв Белов Медведев Антонов Тарасов
Жуков Баранов Филиппов Комаров Давыдов Беляев Герасимов Богданов Осипов Сидоров
Матвеев Титов Марков Миронов Крылов Куликов Карпов Власов Мельников Денисов
Гаврилов Тихонов Казаков Афанасьев Данилов Савельев Тимофеев Фомин Чернов Абрамов
Мартынов Ефимов Федотов Щербаков Назаров Калинин Исаев Чернышёв Быков Маслов
Родионов Коновалов Лазарев Воронин Климов Филатов Пономарёв Голубев Кудрявцев Прохоров
Наумов Потапов Журавлёв Овчинников Трофимов Леонов Соболев Ермаков Колесников Гончаров
Емельянов Никифоров Грачёв Котов Гришин Ефремов Архипов Громов Кириллов Малышев
Панов Моисеев Румянцев Акимов Кондратьев Бирюков Горбунов Анисимов Ерёмин Тихомиров
Галкин Лукьянов Михеев Скворцов Юдин Белоусов Нестеров Симонов Прокофьев Харитонов
Князев Цветков Левин Митрофанов Воронов Аксёнов Софронов Мальцев Логинов Горшков
Савин Краснов Майоров Демидов Елисеев Рыбаков Сафонов Плотников Дёмин Хохлов
Жданов Блинов Рябов Муравьёв Чистяков Лаптев Субботин Бобров Шестаков Горелов
Зуев Зиновьев Третьяков Мухин Сазонов Суханов Пестов Шилов Агафонов Рожков
Лыков Носков Зотов Лапин Кудряшов Панфилов Евдокимов Алёшин Пугачёв Бочкарёв
Зырянов Вахрушев Шубин Токарев Пахомов Корнилов Булычёв Копылов Ситников Шишкин
Бычков Дьячков Сычёв Уваров Шмелёв Ширяев Юрьев Щукин Якушев Чеботарёв
Хромов Цыганов Ушаков Устинов Шарапов Рябинин Федоров Ёлкин Зимин Синицын
Птицын Покровский Успенский Вознесенский Троицкий Высоцкий Заболоцкий Городецкий
Богословский Белый Толстой Луговой Гладкий Шевченко Бондаренко Коваленко Черных
Седых Мороз Ковальчук
""".split()

# Old village families: far more common here than in the country at large.
LOCAL_FAMILIES = {"Зырянов": 9.0, "Бочкарёв": 7.0, "Вахрушев": 6.0, "Пестов": 5.0,
                  "Шубин": 4.0, "Семёнов": 3.0}

MALE_NAMES = [
    ("Александр", 10), ("Алексей", 6), ("Анатолий", 5), ("Андрей", 5), ("Борис", 3),
    ("Валерий", 3), ("Василий", 6), ("Виктор", 7), ("Владимир", 9), ("Вячеслав", 2),
    ("Геннадий", 4), ("Григорий", 3), ("Дмитрий", 4), ("Евгений", 4), ("Егор", 1),
    ("Захар", 1), ("Иван", 7), ("Игорь", 3), ("Кирилл", 1), ("Константин", 3),
    ("Леонид", 3), ("Максим", 1), ("Михаил", 6), ("Николай", 8), ("Олег", 3),
    ("Павел", 4), ("Пётр", 4), ("Роман", 2), ("Сергей", 8), ("Степан", 2),
    ("Тимофей", 1), ("Фёдор", 2), ("Эдуард", 1), ("Юрий", 6), ("Яков", 1),
]
FEMALE_NAMES = [
    ("Анна", 5), ("Александра", 2), ("Антонина", 3), ("Валентина", 6), ("Вера", 4),
    ("Галина", 6), ("Евгения", 1), ("Екатерина", 3), ("Елена", 6), ("Зинаида", 3),
    ("Зоя", 2), ("Ирина", 4), ("Клавдия", 2), ("Лидия", 3), ("Любовь", 4),
    ("Людмила", 5), ("Мария", 5), ("Надежда", 5), ("Наталья", 5), ("Нина", 5),
    ("Оксана", 1), ("Ольга", 5), ("Раиса", 3), ("Светлана", 4), ("Тамара", 4),
    ("Татьяна", 6), ("Ульяна", 1), ("Фаина", 1), ("Эльвира", 1), ("Юлия", 1),
]

ALPHABET = "абвгдеёжзийклмнопрстуфхцчшщъыьэюя"
UPPER = ALPHABET.upper()
HOUSE_RE = re.compile(r"^[1-9][0-9]?(-[а-яё])?$")
STREET_RE = re.compile(r"^[0-9А-Яа-яЁё .-]+$")


def feminine(surname):
    for ending in ("ов", "ев", "ёв", "ин", "ын"):
        if surname.endswith(ending):
            return surname + "а"
    if surname.endswith(("ий", "ый", "ой")):
        return surname[:-2] + "ая"
    return surname  # Шевченко, Черных, Мороз: the same for women


def collation_key(text):
    """Russian dictionary order: ё counts as е, and only breaks ties after е."""
    lower = text.lower()
    primary = tuple(ALPHABET.index("е" if c == "ё" else c) for c in lower)
    secondary = tuple(1 if c == "ё" else 0 for c in lower)
    return (primary, secondary, text)


def street_order(text):
    """The street box's order, Russian as ICU sorts it with case ignored: blanks and
    punctuation before digits, digits before letters, so "пер. Школьный" files under П."""
    ranks = " -." + "0123456789" + ALPHABET
    lower = text.lower()
    primary = tuple(ranks.index("е" if c == "ё" else c) for c in lower)
    return (primary, tuple(1 if c == "ё" else 0 for c in lower), text)


def weighted(rng, pairs):
    names, weights = zip(*pairs)
    return rng.choices(names, weights=weights)[0]


def initial(name):
    return name[0]


class Person:
    def __init__(self, surname, name, patronymic):
        self.surname = surname
        self.name = name
        self.patronymic = patronymic


class Record:
    def __init__(self, street, house, flat):
        self.street = street
        self.house = house
        self.flat = flat
        self.surname = ""
        self.name = ""
        self.patronymic = ""
        self.phone = 0
        self.shares_with = None  # the spouse whose number this record also carries
        self.fixed = False  # placed on purpose: not to be emptied or reused

    def fields(self):
        return (self.phone, self.surname, self.name, self.patronymic, self.street,
                self.house, self.flat)


def random_house(rng, count, taken, outlying):
    top = min(99, int(5 + count * (1.5 if outlying else 0.8)))
    while True:
        house = str(rng.randint(1, top))
        if not outlying and rng.random() < 0.07:
            house += "-" + rng.choice("аааабббв")
        if house not in taken:
            return house


def make_addresses(rng):
    records = []
    reserved = collections.defaultdict(set)
    for street, house, _ in FLAT_HOUSES:
        reserved[street].add(house)
    reserved[TWIN_HOUSES[0]].update(TWIN_HOUSES[1])
    for street, count in TOWN_STREETS + OUTLYING_STREETS:
        outlying = street.startswith(OUTLYING_PREFIXES)
        fixed = []
        for flat_street, house, flats in FLAT_HOUSES:
            if flat_street == street:
                fixed += [Record(street, house, flat) for flat in flats]
        if street == TWIN_HOUSES[0]:
            fixed += [Record(street, house, 0) for house in TWIN_HOUSES[1]]
        for record in fixed:
            record.fixed = True
        records += fixed
        for _ in range(count - len(fixed)):
            records.append(Record(street, random_house(rng, count, reserved[street], outlying), 0))
    return records


def person(rng, surname_pairs, male):
    surname = weighted(rng, surname_pairs)
    if male:
        return Person(surname, weighted(rng, MALE_NAMES), weighted(rng, MALE_NAMES))
    return Person(feminine(surname), weighted(rng, FEMALE_NAMES), weighted(rng, MALE_NAMES))


def generate():
    rng = random.Random(SEED)
    surname_pairs = []
    for rank, surname in enumerate(SURNAMES):
        surname_pairs.append((surname, LOCAL_FAMILIES.get(surname, 1.0) / (rank + 8) ** 0.8))

    records = make_addresses(rng)
    for record in records:
        p = person(rng, surname_pairs, rng.random() < 0.56)
        record.surname, record.name, record.patronymic = p.surname, p.name, p.patronymic

    def is_outlying(record):
        return record.street.startswith(OUTLYING_PREFIXES)

    # Two couples each listed under one number: husband and wife at one address.
    couples = []
    for street in ("Советская", "Набережная"):
        candidates = [r for r in records if r.street == street and not r.fixed]
        husband, wife = rng.sample(candidates, 2)
        while True:
            surname = weighted(rng, surname_pairs)
            if feminine(surname) != surname:
                break
        husband.surname, husband.name = surname, weighted(rng, MALE_NAMES)
        wife.surname, wife.name = feminine(surname), weighted(rng, FEMALE_NAMES)
        wife.patronymic = weighted(rng, MALE_NAMES)
        wife.house = husband.house
        husband.fixed = wife.fixed = True
        wife.shares_with = husband
        couples.append((husband, wife))

    # Houses without a number: mostly in the villages, a few lost in town.
    outlying = [r for r in records if is_outlying(r) and not r.fixed]
    town = [r for r in records if not is_outlying(r) and not r.fixed]
    for record in rng.sample(outlying, EMPTY_HOUSES_OUTLYING):
        record.house = ""
    for record in rng.sample(town, EMPTY_HOUSES - EMPTY_HOUSES_OUTLYING):
        record.house = ""

    # The newer exchange serves the town; the first couple is on it.
    first_couple, second_couple = couples
    pool = [r for r in records if not is_outlying(r) and r not in first_couple + second_couple]
    block1 = list(first_couple) + rng.sample(pool, BLOCK1_SLOTS - 2)
    chosen = set(map(id, block1))
    block2 = [r for r in records if id(r) not in chosen]

    block1.sort(key=lambda r: collation_key(r.surname))
    block2.sort(key=lambda r: collation_key(r.surname))
    # Subscribers connected after the book was sorted were appended at the end.
    late = [r for r in block2[10:-10] if r.shares_with is None and r not in second_couple]
    late = rng.sample([r for r in late if not r.surname.startswith(("Я", "Ю", "Щ"))],
                      LATE_ADDITIONS)
    block2 = [r for r in block2 if r not in late] + late

    for block, (low, high) in ((block1, BLOCK1_NUMBERS), (block2, BLOCK2_NUMBERS)):
        numbers = rng.sample(range(low, high + 1), len(block) - 1)
        it = iter(numbers)
        for record in block:
            if record.shares_with is None:
                record.phone = next(it)
        for record in block:
            if record.shares_with is not None:
                record.phone = record.shares_with.phone

    incomplete = []
    for number in rng.sample(range(1000, 10000), INCOMPLETE):
        male = rng.random() < 0.5
        record = Record("", "", 0)
        record.phone = number
        record.name = weighted(rng, MALE_NAMES if male else FEMALE_NAMES)
        record.patronymic = weighted(rng, MALE_NAMES)
        incomplete.append(record)

    streets = [name for name, _ in TOWN_STREETS + OUTLYING_STREETS]
    rng.shuffle(streets)
    return block1 + block2 + incomplete, streets


def out_of_place(surnames):
    """Records to move so that the rest is in order: length minus the longest
    non-decreasing run (patience sorting)."""
    tails = []
    for key in map(collation_key, surnames):
        key = key[:2]
        at = bisect.bisect_right(tails, key)
        if at == len(tails):
            tails.append(key)
        else:
            tails[at] = key
    return len(surnames) - len(tails)


def check(records, streets):
    assert len(records) == TOTAL
    listed = records[:LISTED]
    block1, block2 = records[:BLOCK1_SLOTS], records[BLOCK1_SLOTS:LISTED]
    assert all(BLOCK1_NUMBERS[0] <= r.phone <= BLOCK1_NUMBERS[1] for r in block1)
    assert all(BLOCK2_NUMBERS[0] <= r.phone <= BLOCK2_NUMBERS[1] for r in block2)
    keys = [collation_key(r.surname)[:2] for r in block1]
    assert keys == sorted(keys)
    assert 3 <= out_of_place([r.surname for r in block2]) <= 8

    for r in listed:
        s = r.surname
        assert 1 <= len(s) <= 13 and s[0] in UPPER and all(c in ALPHABET for c in s[1:]), s
        assert r.street in streets
    for r in records:
        for letter in (initial(r.name), initial(r.patronymic)):
            assert letter in UPPER and letter not in "ЁЙЪЫЬ", letter

    houses = [r.house for r in listed]
    empty = [r for r in listed if r.house == ""]
    assert len(empty) == EMPTY_HOUSES
    assert sum(r.street.startswith(OUTLYING_PREFIXES) for r in empty) >= 45
    assert all(HOUSE_RE.match(h) and len(h) <= 4 for h in houses if h), houses
    by_street = collections.defaultdict(set)
    for r in listed:
        by_street[r.street].add(r.house)
    assert any({"12", "12-б"} <= h for h in by_street.values())

    flats = [r for r in listed if r.flat]
    assert len(flats) == 18 and all(1 <= r.flat <= 120 for r in flats)
    assert any(r.flat == 10 for r in flats)
    assert all(r.house and not r.street.startswith(OUTLYING_PREFIXES) for r in flats)
    assert max(collections.Counter((r.street, r.house) for r in flats).values()) >= 2

    counts = collections.Counter(r.phone for r in listed)
    assert sorted(counts.values())[-3:] == [1, 2, 2]

    for r in records[LISTED:]:
        assert 1000 <= r.phone <= 9999
        assert (r.surname, r.street, r.house, r.flat) == ("", "", "", 0)

    assert len(streets) == len(set(streets)) == 70
    assert all(STREET_RE.match(s) for s in streets)
    assert sum(s[0].isdigit() for s in streets) >= 3
    for prefix in ("дер. ", "пер. ", "пос. ", "с. ", "им. "):
        assert any(s.startswith(prefix) and s[len(prefix)].isupper() for s in streets)
    per_street = collections.Counter(r.street for r in listed)
    assert set(per_street) == set(streets)
    assert 60 <= max(per_street.values()) <= 120

    # What makes the data worth searching: families, spelling with ё, both genders.
    surnames = collections.Counter(r.surname for r in listed)
    assert sum(1 for s in surnames if "ё" in s.lower()) >= 5
    assert sum(1 for s in surnames if s.endswith("ов") and s + "а" in surnames) >= 20
    same_initial = collections.defaultdict(set)
    for r in listed:
        same_initial[(r.surname, r.name[0])].add(r.patronymic[0])
    assert any(len(p) > 1 for p in same_initial.values())
    people = [(r.surname, r.name[0], r.patronymic[0], r.street, r.house, r.flat)
              for r in listed]
    assert len(people) == len(set(people)), "one subscriber listed twice"

    for r in records:
        for text in (r.surname, r.name, r.patronymic, r.street, r.house):
            text.encode("cp1251")
    for s in streets:
        s.encode("cp1251")


def c_string(text):
    assert '"' not in text and "\\" not in text
    return '"' + text + '"'


def render(records, streets):
    lines = [
        "// Generated by tools/gen_directory.py; do not edit, run the script instead.",
        "// Made-up data: the subscribers, their initials and addresses are invented.",
        "// Included by records.h, which declares SourceRecord.",
        "",
        "// One entry a line, so that regenerated data diffs line by line.",
        "// clang-format off",
        "",
        "inline constexpr SourceRecord SourceRecords[SourceRecordCount] = {",
    ]
    headings = {
        0: "Slots 1-109: exchange 52xxx, sorted by surname.",
        BLOCK1_SLOTS: "Slots 110-1790: exchange 2xxxx, sorted by surname except the "
                      "late additions at the end.",
        LISTED: "Slots 1791-1800: four-digit numbers known only by initials.",
    }
    for index, r in enumerate(records):
        if index in headings:
            lines.append("    // " + headings[index])
        lines.append("    {%d, %s, %s, %s, %s, %s, %d}," % (
            r.phone, c_string(r.surname), c_string(initial(r.name)),
            c_string(initial(r.patronymic)), c_string(r.street), c_string(r.house), r.flat))
    lines.append("};")
    lines.append("")
    lines.append("// In the order the street box shows them.")
    lines.append("inline constexpr const char *StreetNames[StreetCount] = {")
    lines += ["    %s," % c_string(s) for s in sorted(streets, key=street_order)]
    lines.append("};")
    lines.append("// clang-format on")
    return "\n".join(lines) + "\n"


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "directory", "records_data.h")
    records, streets = generate()
    check(records, streets)
    with open(target, "w", encoding="utf-8", newline="\n") as out:
        out.write(render(records, streets))


if __name__ == "__main__":
    main()
