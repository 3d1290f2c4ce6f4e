"""The atlas's knot lists, table rows and gallery, on the project's knot table."""

import os
import sys
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "atlas"))
import atlas_lib  # noqa: E402

TABLE = atlas_lib.read_knot_table(os.path.join(ROOT, "data", "knots.csv"))
BEST = atlas_lib.read_best_known(os.path.join(ROOT, "data", "best-ropelength.csv"))


class KnotListTest(unittest.TestCase):
    def test_words_expand_in_table_order(self):
        cases = [
            ("3_1", ["3_1"]),
            ("5_2, 3_1 5_2", ["3_1", "5_2"]),
            ("3_1-5_2", ["3_1", "4_1", "5_1", "5_2"]),
            ("6", ["6_1", "6_2", "6_3"]),
            ("0-4", ["0_1", "3_1", "4_1"]),
            ("10_165 3_1,", ["3_1", "10_165"]),
        ]
        for text, names in cases:
            with self.subTest(text=text):
                self.assertEqual(atlas_lib.expand_knot_list(text, TABLE), names)

    def test_counts_of_the_tables(self):
        cases = [("0-8", 36), ("3_1-10_165", 249), ("10", 165), ("11a", 367), ("11n", 185), ("11", 552),
                 ("12a 12n", 2176)]
        for text, count in cases:
            with self.subTest(text=text):
                self.assertEqual(len(atlas_lib.expand_knot_list(text, TABLE)), count)

    def test_bad_words_are_named(self):
        for text, word in [("", "empty"), ("3_2", "3_2"), ("13", "13"), ("8_21-3_1", "backwards"),
                           ("3_1-99_1", "99_1"), ("9-4", "9-4"), ("trefoil", "trefoil")]:
            with self.subTest(text=text):
                with self.assertRaises(atlas_lib.KnotListError) as raised:
                    atlas_lib.expand_knot_list(text, TABLE)
                self.assertIn(word, str(raised.exception))


class TableTest(unittest.TestCase):
    def test_rows_sort_by_crossings_and_keep_failures(self):
        summary = {"ropelength": 16.38, "vertices": 262, "struts": 300, "iterations": 700}
        records = [atlas_lib.failed_record("4_1", "the curve, \"x\", broke", 2.0, "1.0.0"),
                   atlas_lib.ok_record("3_1", summary, 60.25, "1.0.0"),
                   atlas_lib.ok_record("11a_1", dict(summary, ropelength=40.0), 70.0, "1.0.0")]
        rows = atlas_lib.sorted_rows(records, TABLE, BEST)
        self.assertEqual([r["name"] for r in rows], ["3_1", "4_1", "11a_1"])
        self.assertEqual(rows[0]["ropelength"], "16.380000")
        self.assertEqual(rows[0]["ratio"], f"{16.38 / BEST['3_1']:.6f}")
        self.assertEqual((rows[1]["status"], rows[1]["ropelength"], rows[1]["ratio"]), ("failed", "", ""))
        self.assertEqual((rows[2]["best_known"], rows[2]["ratio"]), ("", ""))
        text = atlas_lib.format_table(rows)
        self.assertEqual(text.splitlines()[0], ",".join(atlas_lib.TABLE_COLUMNS))
        self.assertIn("\"the curve, \"\"x\"\", broke\"", text)

    def test_gallery_has_a_tile_per_knot_and_escapes(self):
        records = [atlas_lib.ok_record("3_1", {"ropelength": 16.4}, 1.0, "1"),
                   atlas_lib.failed_record("4_1", "<b>no</b>", 1.0, "1")]
        page = atlas_lib.format_gallery(atlas_lib.sorted_rows(records, TABLE, BEST))
        self.assertIn("<img src=\"knots/3_1.png\"", page)
        self.assertIn("&lt;b&gt;no&lt;/b&gt;", page)
        self.assertNotIn("http", page)
        self.assertEqual(page.count("<h2>"), 2)


if __name__ == "__main__":
    unittest.main()
