// SMTP servers on loopback for the mail tests, from the npm smtp-server package.
//
//   node server.js OUT_DIR NAME:OPTIONS [NAME:OPTIONS...]
//
// Starts one server per NAME on 127.0.0.1 and a free port, prints "port NAME NUMBER" for each and then
// "ready". OPTIONS is a comma-separated list of: tls (TLS from connect, else STARTTLS), nostarttls,
// plain, login, cram, xoauth (the AUTH methods offered; LOGIN and PLAIN when none is given), refuse (greets
// with 554). Each accepted message is saved under OUT_DIR/<n>/ as raw.eml, subject.txt, text.txt, attachments/<i>-<file name>
// (parsed by mailparser) and, last, auth.txt (method and user).
//
// Failures to inject, by address: RCPT TO reject@... is refused (550); RCPT TO drop@... closes the connection
// without a reply; a message from reject-data@... is refused after its data (554).
'use strict';
const fs = require('fs');
const path = require('path');
const { SMTPServer } = require('smtp-server');
const { simpleParser } = require('mailparser');

const USER = 'kestrova';
const PASSWORD = 's3cret-pass';

const [outDir, ...specs] = process.argv.slice(2);
let messageCount = 0;

function saveMessage(raw, session) {
  return simpleParser(raw).then((mail) => {
    const dir = path.join(outDir, String(++messageCount));
    fs.mkdirSync(path.join(dir, 'attachments'), { recursive: true });
    fs.writeFileSync(path.join(dir, 'raw.eml'), raw);
    fs.writeFileSync(path.join(dir, 'subject.txt'), mail.subject || '');
    fs.writeFileSync(path.join(dir, 'text.txt'), mail.text || '');
    mail.attachments.forEach((a, i) => {
      fs.writeFileSync(path.join(dir, 'attachments', `${i + 1}-${a.filename}`), a.content);
    });
    // Written last and renamed into place: its presence says the message is complete, and a reader that
    // sees it never finds it still empty.
    const auth = path.join(dir, 'auth.txt');
    fs.writeFileSync(`${auth}.part`, session.user ? `${session.user.method} ${session.user.name}` : '');
    fs.renameSync(`${auth}.part`, auth);
  });
}

function makeServer(options) {
  const methods = [];
  if (options.includes('login')) methods.push('LOGIN');
  if (options.includes('plain')) methods.push('PLAIN');
  if (options.includes('cram')) methods.push('CRAM-MD5');
  if (options.includes('xoauth')) methods.push('XOAUTH2');
  const server = new SMTPServer({
    secure: options.includes('tls'),
    hideSTARTTLS: options.includes('nostarttls'),
    authMethods: methods.length ? methods : ['LOGIN', 'PLAIN'],
    disableReverseLookup: true,
    logger: false,
    onConnect(session, callback) {
      if (options.includes('refuse')) return callback(Object.assign(new Error('No mail here'), { responseCode: 554 }));
      callback();
    },
    onAuth(auth, session, callback) {
      const good = auth.method === 'CRAM-MD5' ? auth.validatePassword(PASSWORD) : auth.password === PASSWORD;
      if (auth.username !== USER || !good) {
        return callback(Object.assign(new Error('Invalid username or password'), { responseCode: 535 }));
      }
      callback(null, { user: { method: auth.method, name: auth.username } });
    },
    onRcptTo(address, session, callback) {
      if (address.address.startsWith('reject@')) {
        return callback(Object.assign(new Error('No such user'), { responseCode: 550 }));
      }
      if (address.address.startsWith('drop@')) {
        for (const connection of server.connections) {
          if (connection.session === session) connection._socket.destroy();
        }
        return;
      }
      callback();
    },
    onData(stream, session, callback) {
      const chunks = [];
      stream.on('data', (chunk) => chunks.push(chunk));
      stream.on('end', () => {
        if (session.envelope.mailFrom.address.startsWith('reject-data@')) {
          return callback(Object.assign(new Error('Message refused'), { responseCode: 554 }));
        }
        saveMessage(Buffer.concat(chunks), session).then(() => callback(), (err) => callback(err));
      });
    },
  });
  return server;
}

let pending = specs.length;
for (const spec of specs) {
  const [name, optionText = ''] = spec.split(':');
  const server = makeServer(optionText.split(',').filter(Boolean));
  server.on('error', (err) => process.stderr.write(`${name}: ${err.message}\n`));
  server.listen(0, '127.0.0.1', () => {
    process.stdout.write(`port ${name} ${server.server.address().port}\n`);
    if (--pending === 0) process.stdout.write('ready\n');
  });
}
process.on('SIGTERM', () => process.exit(0));
