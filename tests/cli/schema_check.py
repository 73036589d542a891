"""Validates JSON files against the configuration's JSON Schema.

Usage: schema_check.py SCHEMA FILE...; prints "valid" or "invalid: REASON"
for each file, one line each, in order.
"""
import json
import sys

from jsonschema import Draft202012Validator


def main() -> int:
    with open(sys.argv[1], encoding="utf-8") as f:
        schema = json.load(f)
    Draft202012Validator.check_schema(schema)
    validator = Draft202012Validator(schema)
    for path in sys.argv[2:]:
        with open(path, encoding="utf-8") as f:
            document = json.load(f)
        error = next(iter(validator.iter_errors(document)), None)
        if error is None:
            print("valid")
        else:
            where = "/".join(str(p) for p in error.absolute_path)
            print("invalid: " + where)
    return 0


if __name__ == "__main__":
    sys.exit(main())
