#!/usr/bin/env python3
"""Record tables of the install folder (cities, zones, dialling codes, travel,
conversions, packing lists) and the home-screen layouts."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import tables_content  # noqa: E402
import tables_misc  # noqa: E402
import tables_world  # noqa: E402


def main():
    tables_world.main()
    import validate
    cities = validate.load_table("citylist.dat")
    print("dialcodes: %d countries" % tables_misc.dialcodes())
    print("airports: %d (%d cities filled from the nearest city)" % tables_misc.airports(cities))
    print("airlines: %d" % tables_misc.airlines())
    print("rates: %d currencies" % tables_misc.rates())
    tables_content.main()


if __name__ == "__main__":
    main()
